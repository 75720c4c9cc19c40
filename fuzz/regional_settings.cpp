// Any locale's texts: translated to regional settings, whose patterns then write a
// date and a time within the length a text may have.
#include "support/date_time_text.h"
#include "support/locale_texts.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The fields of the locale, separated by NUL bytes, in the order of TLocaleTexts.
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t at = 0;
    auto next = [&] {
        if (at > input.size())
            return std::string();
        size_t end = input.find('\0', at);
        if (end == std::string::npos)
            end = input.size();
        std::string field = input.substr(at, end - at);
        at = end + 1;
        return field;
    };
    gravlink::TLocaleTexts texts;
    texts.CodeSet = next() == "8" ? "ANSI_X3.4-1968" : "UTF-8";
    texts.DateFormat = next();
    texts.TimeFormat = next();
    texts.TimeFormatAmPm = next();
    texts.AmText = next();
    texts.PmText = next();
    for (std::string& name : texts.MonthAbbrevs)
        name = next();
    for (std::string& name : texts.MonthNames)
        name = next();
    for (std::string& name : texts.DayAbbrevs)
        name = next();
    for (std::string& name : texts.DayNames)
        name = next();
    texts.DecimalPoint = next();
    texts.ThousandsSeparator = next();

    const gravlink::TFormatSettings settings = gravlink::TranslateLocaleTexts(texts);
    // 9 April 2007 14:05:06.
    const double value = 39181.0 + (14 * 3600 + 5 * 60 + 6) / 86400.0;
    for (const char* pattern : {"c", "ddddd", "tt", "t", "dddd mmmm"}) {
        std::string out;
        gravlink::AppendFormatDateTimeText(out, pattern, value, settings);
        if (out.size() > 256)
            std::abort();
    }
    return 0;
}
