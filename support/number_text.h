#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace gravlink {

// The general form of a floating-point number with 15 significant digits: plain
// digits for exponents from -4 to 15, otherwise d.dddE±n; "INF", "-INF", "NAN".
// The decimal separator is TextFormatSettings.DecimalPoint.
std::string FloatText(double value);
void AppendFloatText(std::string& out, double value);
// The same text written at out, which has room for FloatTextMaxLength characters;
// returns the end of the text.
inline constexpr size_t FloatTextMaxLength = 24;
char* WriteFloatText(char* out, double value);

// Decimal digits, "-" ahead of a negative value, no grouping.
std::string IntegerText(int32_t value);
void AppendIntegerText(std::string& out, int64_t value);
inline constexpr size_t IntegerTextMaxLength = 20;
char* WriteIntegerText(char* out, int64_t value);

} // namespace gravlink
