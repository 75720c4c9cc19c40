#pragma once

#include "support/date_time_value.h"
#include "support/text_format_settings.h"

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
