#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace gravlink {

// The exact decimal text of value with decimals digits after separator, trailing
// fraction zeros removed and the separator with them when nothing follows it: 1050
// with 2 decimals is "10.5", 1000 is "10", -5 is "-0.05", 0 is "0". A separator of
// '\0' is written as nothing. decimals of 0 or less gives the integer's digits.
void AppendScaledInt64Text(std::string& out, int64_t value, int decimals, char separator);
// The same text written at out, which has room for ScaledInt64TextMaxLength(decimals)
// characters; returns the end of the text.
char* WriteScaledInt64Text(char* out, int64_t value, int decimals, char separator);
// Sign, nineteen digits, separator and the zeros between it and the digits.
constexpr size_t ScaledInt64TextMaxLength(int decimals) {
    return 21 + static_cast<size_t>(decimals > 0 ? decimals : 0);
}

} // namespace gravlink
