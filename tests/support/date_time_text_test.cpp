#include "support/date_time_text.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace gravlink {
namespace {

// Russian-style settings, independent of the machine's locale.
class DateTimeTextTest : public testing::Test {
protected:
    DateTimeTextTest() {
        TextFormatSettings = TFormatSettings{};
        TextFormatSettings.ShortDatePattern = "dd.mm.yyyy";
        TextFormatSettings.DateSeparatorChar = '.';
        TextFormatSettings.ShortTimePattern = "h:mm";
        TextFormatSettings.LongTimePattern = "h:mm:ss";
        TextFormatSettings.TimeSeparatorChar = ':';
    }

    static TDateTime At(int h, int n, int s, int ms = 0) {
        return EncodeDateTime(2007, 4, 9, h, n, s, ms);
    }

private:
    TextFormatSettingsGuard FGuard;
};

TEST_F(DateTimeTextTest, DateTimeTextLeavesOutMillisecondsAndMidnight) {
    struct Case {
        TDateTime Value;
        const char* Text;
    };
    const Case cases[] = {
        {At(14, 5, 3, 250), "09.04.2007 14:05:03"},
        {At(9, 5, 3), "09.04.2007 9:05:03"},
        {At(0, 0, 0, 500), "09.04.2007"},
        {At(0, 0, 0), "09.04.2007"},
        {At(0, 0, 1), "09.04.2007 0:00:01"},
        {At(23, 59, 59, 999), "09.04.2007 23:59:59"},
        {EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), "29.12.1899 6:00:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DateTimeText(c.Value), c.Text);
        EXPECT_EQ(FormatDateTimeText("", c.Value), c.Text);
    }
    EXPECT_EQ(DateText(At(14, 5, 3)), "09.04.2007");
    EXPECT_EQ(TimeText(At(14, 5, 3)), "14:05:03");
    EXPECT_EQ(TimeText(At(0, 0, 0)), "0:00:00");
}

TEST_F(DateTimeTextTest, ColonIsTheSeparatorPlaceholderWhileOtherCharactersAreCopied) {
    EXPECT_EQ(FormatDateTimeText("dd.mm.yyyy hh:mm", At(23, 59, 59)), "09.04.2007 23:59");
    TextFormatSettings.TimeSeparatorChar = '.';
    EXPECT_EQ(FormatDateTimeText("dd.mm.yyyy hh:mm", At(23, 59, 59)), "09.04.2007 23.59");
    TextFormatSettings.DateSeparatorChar = '-';
    EXPECT_EQ(FormatDateTimeText("dd/mm/yy", At(1, 2, 3)), "09-04-07");
    TextFormatSettings.DateSeparatorChar = '\0';
    EXPECT_EQ(FormatDateTimeText("dd/mm", At(1, 2, 3)), "0904");
}

TEST(DateTimeTextDefaults, TwelveHourClockWithLowerCaseMarks) {
    TextFormatSettingsGuard guard{TFormatSettings{}};
    EXPECT_EQ(DateTimeText(EncodeDateTime(2007, 4, 9, 14, 5, 3, 0)), "4/9/07 2:05:03 pm");
    EXPECT_EQ(DateTimeText(EncodeDateTime(2007, 4, 9, 0, 5, 3, 0)), "4/9/07 12:05:03 am");
}

TEST_F(DateTimeTextTest, Specifiers) {
    struct Case {
        const char* Pattern;
        TDateTime Value;
        const char* Text;
    };
    const TDateTime afternoon = At(14, 5, 3, 7);
    const TDateTime morning = At(9, 5, 3, 7);
    const Case cases[] = {
        // Numbers: minimum widths, never cut.
        {"d-dd-m-mm-yy-yyy-yyyy", afternoon, "9-09-4-04-07-2007-2007"},
        {"h-hh-hhh-n-nn-nnn-s-ss-sss", morning, "9-09-09-5-05-05-3-03-03"},
        {"z-zz-zzz-zzzz", afternoon, "7-07-007-007"},
        {"Y", EncodeDate(2000, 1, 1), "00"},
        // Names.
        {"ddd dddd mmm mmmm", afternoon, "Mon Monday Apr April"},
        {"aaa aaaa", afternoon, "Mon Monday"},
        // "m" is minutes right after an hour, letters alone counting.
        {"hh:mm dd.mm", afternoon, "14:05 09.04"},
        {"h 'x' m", afternoon, "14 x 5"},
        {"dd mm hh mm", afternoon, "09 04 14 05"},
        {"hh:nn mm", afternoon, "14:05 04"},
        {"mm hh", afternoon, "04 14"},
        {"hh ampm mm", afternoon, "02 pm 04"},
        {"hh mmm", afternoon, "14 Apr"},
        {"h:mmmm", afternoon, "14:April"},
        // AM/PM forms: as written, mixed case kept.
        {"h:nn AM/PM", afternoon, "2:05 PM"},
        {"h:nn am/pm", afternoon, "2:05 pm"},
        {"h:nn am/pm", morning, "9:05 am"},
        {"h:nn Am/pM", afternoon, "2:05 pM"},
        {"h:nn A/P", afternoon, "2:05 P"},
        {"h:nn a/p", morning, "9:05 a"},
        {"h:nn AMPM", afternoon, "2:05 pm"},
        {"h:nn ampm", morning, "9:05 am"},
        // The hour looks forward: another "h" or a quoted "a" ends the search.
        {"h h:nn am/pm", afternoon, "14 2:05 pm"},
        {"h 'am/pm'", afternoon, "14 am/pm"},
        {"h \"a\" am/pm", afternoon, "2 a pm"},
        {"h \"it's\" am/pm", afternoon, "2 it's pm"},
        {"h 'x\"y' am/pm", afternoon, "2 x\"y pm"},
        {"am/pm h", afternoon, "pm 14"},
        {"h a", afternoon, "14 a"},
        // Quotes: both kinds, an unclosed one runs to the end.
        {"'dd' \"mm\"", afternoon, "dd mm"},
        {"dd 'hh:mm", afternoon, "09 hh:mm"},
        // Letters that are no specifiers stand for themselves.
        {"dd.mm.yyyy x q", afternoon, "09.04.2007 x q"},
        // Included patterns.
        {"ddddd", afternoon, "09.04.2007"},
        {"t|tt|ttt", afternoon, "14:05|14:05:03|14:05:03"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDateTimeText(c.Pattern, c.Value), c.Text) << "pattern " << c.Pattern;
}

TEST_F(DateTimeTextTest, TwelveHourClockAtMidnightAndNoon) {
    struct Case {
        int Hour;
        const char* Text;
    };
    const Case cases[] = {{0, "12 am"},  {1, "1 am"},  {11, "11 am"},
                          {12, "12 pm"}, {13, "1 pm"}, {23, "11 pm"}};
    for (const Case& c : cases)
        EXPECT_EQ(FormatDateTimeText("h ampm", At(c.Hour, 0, 0)), c.Text) << c.Hour;
}

TEST_F(DateTimeTextTest, LongDatePatternForSixOrMoreD) {
    TextFormatSettings.LongDatePattern = "d mmmm yyyy";
    EXPECT_EQ(FormatDateTimeText("dddddd", At(1, 0, 0)), "9 April 2007");
    EXPECT_EQ(FormatDateTimeText("ddddddddd", At(1, 0, 0)), "9 April 2007");
}

TEST_F(DateTimeTextTest, IncludedPatternIsExpandedOnceOnly) {
    // A "c" inside the short date pattern is skipped, yet the blank ahead of its time is
    // written.
    TextFormatSettings.ShortDatePattern = "dd c ddddd";
    EXPECT_EQ(DateTimeText(At(14, 5, 3)), "09    14:05:03");
    EXPECT_EQ(DateTimeText(At(0, 0, 0)), "09  ");
    // At the top the same specifiers are expanded.
    EXPECT_EQ(FormatDateTimeText("ddddd", At(14, 5, 3)), "09   ");
    TextFormatSettings.LongTimePattern = "tt hh";
    EXPECT_EQ(FormatDateTimeText("tt", At(14, 5, 3)), " 14");
}

TEST_F(DateTimeTextTest, TextIsCutAt256Characters) {
    const std::string pattern(300, '.');
    EXPECT_EQ(FormatDateTimeText(pattern, At(1, 0, 0)), std::string(256, '.'));
    TextFormatSettings.ShortDatePattern = std::string(255, 'x') + "yyyy";
    EXPECT_EQ(DateText(At(1, 0, 0)), std::string(255, 'x') + "2");
    // The limit counts from where the text begins in the buffer.
    std::string out = "prefix;";
    AppendFormatDateTimeText(out, pattern, At(1, 0, 0));
    EXPECT_EQ(out, "prefix;" + std::string(256, '.'));
}

TEST_F(DateTimeTextTest, AppendFormsAddToTheBuffer) {
    std::string out = "a;";
    AppendDateTimeText(out, At(14, 5, 3));
    out += ';';
    AppendDateText(out, At(14, 5, 3));
    out += ';';
    AppendTimeText(out, At(14, 5, 3));
    EXPECT_EQ(out, "a;09.04.2007 14:05:03;09.04.2007;14:05:03");
}

TEST_F(DateTimeTextTest, PatternReadOnceWritesWhatTheTextOfOneValueWrites) {
    const std::string patterns[] = {
        "",
        "c",
        "dd.mm.yyyy hh:nn:ss.zzz",
        "d-m-yy h:n:s z",
        "ddd dddd mmm mmmm aaa aaaa",
        "h:nn AM/PM A/P ampm am/pm a/p",
        "h h:nn am/pm",
        "h \"a\" am/pm 'x\"y' q",
        "dd 'hh:mm",
        "ddddd dddddd t tt",
        "c c",
        std::string(300, '.') + "c",
        "yyyy/mm/dd" + std::string(250, 'x'),
    };
    const TDateTime values[] = {
        At(14, 5, 3, 7),
        At(0, 0, 0),
        At(12, 0, 0),
        At(0, 0, 0, 500),
        At(23, 59, 59, 999),
        EncodeDateTime(1899, 12, 29, 6, 0, 0, 0),
        EncodeDateTime(1, 1, 1, 0, 0, 0, 1),
        EncodeDateTime(9999, 12, 31, 23, 59, 59, 999),
        -700000.0,
        std::nan(""),
    };
    auto check = [&](const char* settings) {
        for (const std::string& pattern : patterns) {
            const TDateTimePattern read(pattern, TextFormatSettings);
            for (const TDateTime value : values) {
                char buffer[DateTimeTextMaxLength];
                const std::string text(buffer, read.Write(buffer, value));
                EXPECT_EQ(text, FormatDateTimeText(pattern, value))
                    << settings << ", pattern " << pattern << ", value " << value;
            }
        }
    };
    check("Russian settings");
    TextFormatSettings.ShortDatePattern = "dd c ddddd";
    TextFormatSettings.LongTimePattern = "tt hh c";
    TextFormatSettings.DateSeparatorChar = '\0';
    TextFormatSettings.LongDatePattern = "dddd d mmmm yyyy";
    check("patterns that include patterns");
}

TEST(TextFormatSettingsGuard, RestoresTheWholeSetOnEveryPath) {
    const TFormatSettings before = TextFormatSettings;
    try {
        TextFormatSettingsGuard guard;
        TextFormatSettings.DecimalPoint = '#';
        TextFormatSettings.ShortDatePattern = "yyyy";
        throw std::runtime_error("failed export");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(TextFormatSettings.DecimalPoint, before.DecimalPoint);
    EXPECT_EQ(TextFormatSettings.ShortDatePattern, before.ShortDatePattern);
}

} // namespace
} // namespace gravlink
