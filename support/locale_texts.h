#pragma once

#include "support/text_format_settings.h"

#include <array>
#include <string>

namespace gravlink {

// What a POSIX locale says about dates, times and numbers, as nl_langinfo and
// localeconv give it: strftime formats, names, and texts in the locale's code set.
struct TLocaleTexts {
    std::string CodeSet; // "UTF-8" or another; non-ASCII text of another one is unreadable
    std::string DateFormat, TimeFormat, TimeFormatAmPm;
    std::string AmText, PmText;
    std::array<std::string, 12> MonthAbbrevs, MonthNames;
    std::array<std::string, 7> DayAbbrevs, DayNames; // from Sunday
    std::string DecimalPoint, ThousandsSeparator;
};

// The text settings those texts translate to; what cannot be read keeps its default.
TFormatSettings TranslateLocaleTexts(const TLocaleTexts& texts);

} // namespace gravlink
