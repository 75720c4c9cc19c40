// Any date-time pattern (typed into a locale, or brought in by the regional settings)
// over any value a timestamp column can hold: a text of at most 256 characters.
#include "support/date_time_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint64_t bits = 0;
    const size_t taken = size < sizeof bits ? size : sizeof bits;
    std::memcpy(&bits, data, taken);
    // 1 January of year 1 to the last millisecond of 9999.
    constexpr double First = -693593.0;
    constexpr double Last = 2958466.0 - 1.0 / 86'400'000;
    const double value =
        First + (Last - First) * (static_cast<double>(bits) / 18446744073709551615.0);
    const std::string_view pattern(reinterpret_cast<const char*>(data) + taken, size - taken);
    std::string out;
    gravlink::AppendFormatDateTimeText(out, pattern, value);
    if (out.size() > 256)
        std::abort();
    return 0;
}
