#pragma once

#include <array>
#include <string>

namespace gravlink {

// The user's regional text settings, as date, time and number texts use them. All
// texts are Windows-1251. A separator of '\0' is written as nothing.
struct TFormatSettings {
    std::string ShortDatePattern = "m/d/yy";
    std::string LongDatePattern = "mmmm d, yyyy";
    // Twelve-hour clock without a leading zero: what a machine with no readable
    // settings gets.
    std::string ShortTimePattern = "h:mm AMPM";
    std::string LongTimePattern = "h:mm:ss AMPM";
    char DateSeparatorChar = '/';
    char TimeSeparatorChar = ':';
    char DecimalPoint = '.';
    char ThousandSeparatorChar = ',';
    std::string AmText = "am";
    std::string PmText = "pm";
    std::array<std::string, 12> MonthAbbrevs = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> MonthNames = {"January",   "February", "March",    "April",
                                              "May",       "June",     "July",     "August",
                                              "September", "October",  "November", "December"};
    // Sunday first.
    std::array<std::string, 7> DayAbbrevs = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> DayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
};

// The one process-wide set: filled at start-up (ReadTextFormatSettings), read by every
// date, time and number text. Used from the window thread only.
extern TFormatSettings TextFormatSettings;

// Keeps the whole process-wide set and puts it back when it goes out of scope, on
// every path. A job that needs its own decimal point sets it after taking the guard.
class TextFormatSettingsGuard {
public:
    TextFormatSettingsGuard() : FSaved(TextFormatSettings) {}
    explicit TextFormatSettingsGuard(const TFormatSettings& replacement)
        : FSaved(TextFormatSettings) {
        TextFormatSettings = replacement;
    }
    ~TextFormatSettingsGuard() { TextFormatSettings = FSaved; }
    TextFormatSettingsGuard(const TextFormatSettingsGuard&) = delete;
    TextFormatSettingsGuard& operator=(const TextFormatSettingsGuard&) = delete;

private:
    TFormatSettings FSaved;
};

} // namespace gravlink
