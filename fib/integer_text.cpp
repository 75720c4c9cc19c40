#include "fib/integer_text.h"

#include <charconv>

namespace gravlink {

int StrToInt(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-')
        ++first;
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return value;
}

} // namespace gravlink
