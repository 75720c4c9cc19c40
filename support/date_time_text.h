#pragma once

#include "support/date_time_value.h"
#include "support/text_format_settings.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace gravlink {

// The text of a value by a date-time pattern, with the separators, names and
// included patterns of TextFormatSettings. An empty pattern means "c". One text is
// at most 256 characters.
std::string FormatDateTimeText(std::string_view pattern, TDateTime value);
// The same text appended to out, for writers that fill one buffer.
void AppendFormatDateTimeText(std::string& out, std::string_view pattern, TDateTime value);
// With an explicit set of settings instead of the process-wide one.
void AppendFormatDateTimeText(std::string& out, std::string_view pattern, TDateTime value,
                              const TFormatSettings& settings);

// The longest text of a value by any pattern.
inline constexpr size_t DateTimeTextMaxLength = 256;

// A pattern read once for the texts of many values: the texts of
// AppendFormatDateTimeText by the pattern and the settings it was made with.
class TDateTimePattern {
public:
    TDateTimePattern(std::string_view pattern, const TFormatSettings& settings);
    ~TDateTimePattern();
    TDateTimePattern(const TDateTimePattern&) = delete;
    TDateTimePattern& operator=(const TDateTimePattern&) = delete;
    TDateTimePattern(TDateTimePattern&&) noexcept;
    TDateTimePattern& operator=(TDateTimePattern&&) noexcept;

    // The text of value written at out, which has room for DateTimeTextMaxLength
    // characters; returns the end of the text.
    char* Write(char* out, TDateTime value) const;

private:
    struct TData;
    std::unique_ptr<TData> FData; // in one place, for the steps point into it
};

// The value by "c": the short date, then the long time unless it is midnight.
std::string DateTimeText(TDateTime value);
void AppendDateTimeText(std::string& out, TDateTime value);

// The value by ShortDatePattern.
std::string DateText(TDateTime value);
void AppendDateText(std::string& out, TDateTime value);

// The value by LongTimePattern.
std::string TimeText(TDateTime value);
void AppendTimeText(std::string& out, TDateTime value);

} // namespace gravlink
