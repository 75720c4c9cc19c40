#include "fib/default_formats.h"

#include <algorithm>

namespace gravlink {

std::string WidenNumericPattern(const std::string& pattern, int decimals) {
    const size_t point = pattern.find('.');
    if (point == std::string::npos || decimals < 0)
        return pattern;
    const size_t after = pattern.size() - point - 1;
    if (after == 0)
        return pattern + std::string(decimals, '0');
    if (after == 1)
        return pattern.substr(0, point + 1) + std::string(decimals, pattern[point + 1]);
    return pattern;
}

} // namespace gravlink
