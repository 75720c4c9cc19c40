#include "support/locale_format_settings.h"
#include "support/locale_texts.h"

#include <clocale>
#include <langinfo.h>
#include <string_view>

namespace gravlink {

TFormatSettings TextFormatSettingsOfCurrentLocale() {
    TLocaleTexts texts;
    texts.CodeSet = nl_langinfo(CODESET);
    texts.DateFormat = nl_langinfo(D_FMT);
    texts.TimeFormat = nl_langinfo(T_FMT);
    texts.TimeFormatAmPm = nl_langinfo(T_FMT_AMPM);
    texts.AmText = nl_langinfo(AM_STR);
    texts.PmText = nl_langinfo(PM_STR);
    for (int m = 0; m < 12; ++m) {
        texts.MonthAbbrevs[m] = nl_langinfo(ABMON_1 + m);
        texts.MonthNames[m] = nl_langinfo(MON_1 + m);
    }
    // The C library's lists begin with Sunday, as these do.
    for (int d = 0; d < 7; ++d) {
        texts.DayAbbrevs[d] = nl_langinfo(ABDAY_1 + d);
        texts.DayNames[d] = nl_langinfo(DAY_1 + d);
    }
    const lconv* numeric = localeconv();
    texts.DecimalPoint = numeric->decimal_point;
    texts.ThousandsSeparator = numeric->thousands_sep;
    return TranslateLocaleTexts(texts);
}

namespace {

// A process started with no locale at all (cron's bare environment) would have the
// client library read its file names as ASCII, and a Cyrillic database path would not
// open: the character type goes to UTF-8. Such a locale's texts are ASCII, which UTF-8
// reads alike.
void NameFilesInUtf8WithoutALocale() {
    if (std::string_view(nl_langinfo(CODESET)) == "ANSI_X3.4-1968")
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

} // namespace

void ReadTextFormatSettings() {
    std::setlocale(LC_ALL, "");
    NameFilesInUtf8WithoutALocale();
    TextFormatSettings = TextFormatSettingsOfCurrentLocale();
}

} // namespace gravlink
