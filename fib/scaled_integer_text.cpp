#include "fib/scaled_integer_text.h"

#include <charconv>

namespace gravlink {

void AppendScaledInt64Text(std::string& out, int64_t value, int decimals, char separator) {
    char buffer[24];
    const auto converted = std::to_chars(buffer, buffer + sizeof buffer, value);
    const char* digits = buffer;
    const char* end = converted.ptr;
    if (value == 0 || decimals <= 0) {
        out.append(digits, end);
        return;
    }
    if (*digits == '-') {
        out += '-';
        ++digits;
    }
    const int count = static_cast<int>(end - digits);
    const int integerDigits = count - decimals;
    const char* fraction = digits;
    int leadingZeros = 0;
    if (integerDigits <= 0) {
        out += '0';
        leadingZeros = -integerDigits;
    } else {
        out.append(digits, static_cast<size_t>(integerDigits));
        fraction = digits + integerDigits;
    }
    // Trailing zeros of the fraction go, and the separator with them when none is left.
    while (end > fraction && end[-1] == '0')
        --end;
    if (end == fraction)
        return;
    if (separator != '\0')
        out += separator;
    out.append(static_cast<size_t>(leadingZeros), '0');
    out.append(fraction, end);
}

} // namespace gravlink
