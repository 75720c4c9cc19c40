#include "support/date_time_value.h"
#include "support/exception.h"

#include <ctime>
#include <gtest/gtest.h>

namespace gravlink {
namespace {

constexpr double Millisecond = 1.0 / 86'400'000;

TEST(DateTimeValue, EncodesDaysFromTheLastDaysOf1899) {
    struct Case {
        int Year, Month, Day;
        double Value;
    };
    const Case cases[] = {
        {1899, 12, 30, 0},    {1900, 1, 1, 2},     {1900, 3, 1, 61}, // 1900 is no leap year
        {2000, 2, 29, 36585}, {2007, 4, 9, 39181}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Year << "-" << c.Month << "-" << c.Day);
        EXPECT_EQ(EncodeDate(c.Year, c.Month, c.Day), c.Value);
        const TDecodedDateTime back = DecodeDateTime(c.Value);
        EXPECT_EQ(back.Year, c.Year);
        EXPECT_EQ(back.Month, c.Month);
        EXPECT_EQ(back.Day, c.Day);
    }
    EXPECT_EQ(DecodeDateTime(39181).DayOfWeek, 1); // 9 April 2007 was a Monday
    EXPECT_EQ(DecodeDateTime(0).DayOfWeek, 6);
    EXPECT_EQ(DecodeDateTime(-1).DayOfWeek, 5);
}

TEST(DateTimeValue, RefusesDatesAndTimesThatDoNotExist) {
    EXPECT_THROW(EncodeDate(1900, 2, 29), Exception);
    EXPECT_THROW(EncodeDate(2007, 4, 31), Exception);
    EXPECT_THROW(EncodeDate(0, 1, 1), Exception);
    EXPECT_THROW(EncodeDate(10000, 1, 1), Exception);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), Exception);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), Exception);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), Exception);
}

TEST(DateTimeValue, NegativeValueCountsTheDayBackwardsAndTheTimeForwards) {
    const TDateTime value = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
    EXPECT_EQ(value, -1.25);
    EXPECT_EQ(DatePart(value), -1);
    EXPECT_EQ(TimeOfDay(value), -0.25);
    const TDecodedDateTime t = DecodeDateTime(-1.25);
    EXPECT_EQ(t.Day, 29);
    EXPECT_EQ(t.Hour, 6);
    // Between -1 and 0 the day is 30 December 1899 itself.
    const TDecodedDateTime z = DecodeDateTime(-0.75);
    EXPECT_EQ(z.Day, 30);
    EXPECT_EQ(z.Hour, 18);
}

TEST(DateTimeValue, DecodesToTheNearestMillisecond) {
    const TDateTime day = EncodeDate(2007, 4, 9);
    // Less than half a millisecond below midnight is midnight of the next day.
    TDecodedDateTime t = DecodeDateTime(day + 1 - 0.4 * Millisecond);
    EXPECT_EQ(t.Day, 10);
    EXPECT_EQ(t.Hour, 0);
    EXPECT_EQ(t.Millisecond, 0);
    t = DecodeDateTime(day + 1 - 0.6 * Millisecond);
    EXPECT_EQ(t.Day, 9);
    EXPECT_EQ(t.Hour, 23);
    EXPECT_EQ(t.Second, 59);
    EXPECT_EQ(t.Millisecond, 999);

    // Exact halves go to the even millisecond.
    const double twoAndAHalf = 2.5 * Millisecond;
    const double threeAndAHalf = 3.5 * Millisecond;
    ASSERT_EQ(twoAndAHalf * 86'400'000, 2.5);
    ASSERT_EQ(threeAndAHalf * 86'400'000, 3.5);
    EXPECT_EQ(DecodeDateTime(twoAndAHalf).Millisecond, 2);
    EXPECT_EQ(DecodeDateTime(threeAndAHalf).Millisecond, 4);
}

TEST(DateTimeValue, EncodedTimesComeBackWhole) {
    for (int ms : {0, 1, 250, 999})
        for (int h : {0, 9, 12, 23}) {
            const TDecodedDateTime t = DecodeDateTime(EncodeDateTime(2007, 4, 9, h, 59, 59, ms));
            EXPECT_EQ(t.Hour, h);
            EXPECT_EQ(t.Minute, 59);
            EXPECT_EQ(t.Second, 59);
            EXPECT_EQ(t.Millisecond, ms);
        }
}

TEST(DateTimeValue, CurrentDateTimeIsTheLocalClock) {
    const time_t before = time(nullptr);
    const TDateTime now = CurrentDateTime();
    const tm local = *std::localtime(&before); // the test's one thread
    const TDateTime expected = EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                              local.tm_hour, local.tm_min, local.tm_sec, 0);
    EXPECT_GE(now, expected);
    EXPECT_LT(now, expected + 5.0 / 86'400);
}

} // namespace
} // namespace gravlink
