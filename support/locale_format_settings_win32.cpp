#include "support/locale_format_settings.h"
#include "support/wide_text.h"

#include <optional>
#include <string>
#include <windows.h>

namespace gravlink {
namespace {

std::optional<std::wstring> LocaleText(LCTYPE item) {
    wchar_t buffer[128];
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, 128);
    if (length <= 0)
        return std::nullopt;
    return std::wstring(buffer, static_cast<size_t>(length - 1));
}

// The whole text, when it can be read.
void TakeText(LCTYPE item, std::string& member) {
    if (const auto text = LocaleText(item))
        member = Win1251OfWide(*text);
}

// Month and day names keep the built-in ones when the system's is empty.
void TakeName(LCTYPE item, std::string& member) {
    if (const auto text = LocaleText(item); text && !text->empty())
        member = Win1251OfWide(*text);
}

// A setting of exactly one character that Windows-1251 has.
void TakeChar(LCTYPE item, char& member) {
    const auto text = LocaleText(item);
    if (!text || text->size() != 1)
        return;
    const std::string converted = Win1251OfWide(*text);
    if (converted.size() == 1 && WideOfWin1251(converted) == *text)
        member = converted[0];
}

// A numeric setting: "0", "1"...; unreadable reads as 0.
bool IsNonZero(LCTYPE item) {
    const auto text = LocaleText(item);
    return text && !text->empty() && *text != L"0";
}

} // namespace

TFormatSettings TextFormatSettingsOfCurrentLocale() {
    TFormatSettings settings;
    TakeText(LOCALE_SSHORTDATE, settings.ShortDatePattern);
    TakeText(LOCALE_SLONGDATE, settings.LongDatePattern);
    TakeChar(LOCALE_SDATE, settings.DateSeparatorChar);
    TakeChar(LOCALE_STIME, settings.TimeSeparatorChar);
    TakeChar(LOCALE_SDECIMAL, settings.DecimalPoint);
    TakeChar(LOCALE_STHOUSAND, settings.ThousandSeparatorChar);
    TakeText(LOCALE_S1159, settings.AmText);
    TakeText(LOCALE_S2359, settings.PmText);
    for (int m = 0; m < 12; ++m) {
        TakeName(LOCALE_SABBREVMONTHNAME1 + m, settings.MonthAbbrevs[m]);
        TakeName(LOCALE_SMONTHNAME1 + m, settings.MonthNames[m]);
    }
    // The system's lists begin with Monday; its seventh day is Sunday.
    for (int d = 0; d < 7; ++d) {
        TakeName(LOCALE_SABBREVDAYNAME1 + (d + 6) % 7, settings.DayAbbrevs[d]);
        TakeName(LOCALE_SDAYNAME1 + (d + 6) % 7, settings.DayNames[d]);
    }

    const std::string hour = IsNonZero(LOCALE_ITLZERO) ? "hh" : "h";
    std::string prefix, postfix;
    if (!IsNonZero(LOCALE_ITIME)) {
        if (IsNonZero(LOCALE_ITIMEMARKPOSN))
            prefix = "AMPM ";
        else
            postfix = " AMPM";
    }
    settings.ShortTimePattern = prefix + hour + ":mm" + postfix;
    settings.LongTimePattern = prefix + hour + ":mm:ss" + postfix;
    return settings;
}

void ReadTextFormatSettings() {
    TextFormatSettings = TextFormatSettingsOfCurrentLocale();
}

} // namespace gravlink
