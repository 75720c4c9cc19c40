#include "support/date_time_text.h"
#include "support/sql_timestamp_text.h"

#include <gtest/gtest.h>

namespace gravlink {
namespace {

TEST(SqlTimestampText, SameTextWhateverTheRegionalSettings) {
    TFormatSettings russian;
    russian.ShortDatePattern = "dd.mm.yyyy";
    russian.LongTimePattern = "h:mm:ss";
    TextFormatSettingsGuard guard{russian};
    struct Case {
        TDateTime Value;
        const char* Text;
    };
    const Case cases[] = {
        {EncodeDateTime(2007, 4, 9, 14, 5, 3, 999), "2007-04-09 14:05:03"},
        // Midnight keeps its time; the locale text would drop it.
        {EncodeDate(2007, 4, 9), "2007-04-09 00:00:00"},
        // Rounded to the millisecond first, as DateTimeText does.
        {EncodeDate(2007, 4, 10) - 0.4 / 86'400'000, "2007-04-10 00:00:00"},
        {EncodeDateTime(1, 1, 1, 9, 0, 0, 0), "0001-01-01 09:00:00"},
        {EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), "1899-12-29 06:00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SqlTimestampText(c.Value), c.Text);
    // Milliseconds are dropped the way DateTimeText drops them.
    const TDateTime value = EncodeDateTime(2007, 4, 9, 23, 59, 59, 999);
    EXPECT_EQ(DateTimeText(value), "09.04.2007 23:59:59");
    EXPECT_EQ(SqlTimestampText(value), "2007-04-09 23:59:59");
}

} // namespace
} // namespace gravlink
