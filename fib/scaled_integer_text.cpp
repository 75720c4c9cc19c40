#include "fib/scaled_integer_text.h"

#include <charconv>
#include <cstring>

namespace gravlink {

char* WriteScaledInt64Text(char* out, int64_t value, int decimals, char separator) {
    char buffer[24];
    const auto converted = std::to_chars(buffer, buffer + sizeof buffer, value);
    const char* digits = buffer;
    const char* end = converted.ptr;
    auto copy = [&out](const char* from, const char* to) {
        std::memcpy(out, from, static_cast<size_t>(to - from));
        out += to - from;
    };
    if (value == 0 || decimals <= 0) {
        copy(digits, end);
        return out;
    }
    if (*digits == '-') {
        *out++ = '-';
        ++digits;
    }
    const int count = static_cast<int>(end - digits);
    const int integerDigits = count - decimals;
    const char* fraction = digits;
    int leadingZeros = 0;
    if (integerDigits <= 0) {
        *out++ = '0';
        leadingZeros = -integerDigits;
    } else {
        copy(digits, digits + integerDigits);
        fraction = digits + integerDigits;
    }
    // Trailing zeros of the fraction go, and the separator with them when none is left.
    while (end > fraction && end[-1] == '0')
        --end;
    if (end == fraction)
        return out;
    if (separator != '\0')
        *out++ = separator;
    std::memset(out, '0', static_cast<size_t>(leadingZeros));
    out += leadingZeros;
    copy(fraction, end);
    return out;
}

void AppendScaledInt64Text(std::string& out, int64_t value, int decimals, char separator) {
    char buffer[64];
    if (ScaledInt64TextMaxLength(decimals) <= sizeof buffer) {
        out.append(buffer, WriteScaledInt64Text(buffer, value, decimals, separator));
        return;
    }
    const size_t start = out.size();
    out.resize(start + ScaledInt64TextMaxLength(decimals));
    char* end = WriteScaledInt64Text(out.data() + start, value, decimals, separator);
    out.resize(static_cast<size_t>(end - out.data()));
}

} // namespace gravlink
