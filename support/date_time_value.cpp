#include "support/date_time_value.h"

#include "support/exception.h"
#include "support/local_clock.h"

#include <cmath>
#include <cstdint>

namespace gravlink {
namespace {

constexpr int64_t MillisecondsPerDay = 86'400'000;
// Days from 1 January of year 1 (day 0) to 30 December 1899.
constexpr int64_t DaysBeforeEpoch = 693'593;

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

int64_t DayNumber(int year, int month, int day) {
    int dayOfYear = day;
    for (int m = 1; m < month; ++m)
        dayOfYear += DaysInMonth(year, m);
    const int64_t y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400 + dayOfYear - 693'594;
}

// Gregorian date of a count of days since 1 January of year 1.
void SplitDays(int64_t days, TDecodedDateTime& out) {
    const int64_t cycles400 = days / 146'097;
    days %= 146'097;
    int64_t cycles100 = days / 36'524;
    if (cycles100 == 4) // 31 December of a year divisible by 400
        cycles100 = 3;
    days -= cycles100 * 36'524;
    const int64_t cycles4 = days / 1'461;
    days %= 1'461;
    int64_t years = days / 365;
    if (years == 4) // 31 December of a leap year
        years = 3;
    days -= years * 365;
    out.Year = static_cast<int>(cycles400 * 400 + cycles100 * 100 + cycles4 * 4 + years + 1);
    out.Month = 1;
    while (days >= DaysInMonth(out.Year, out.Month)) {
        days -= DaysInMonth(out.Year, out.Month);
        ++out.Month;
    }
    out.Day = static_cast<int>(days) + 1;
}

} // namespace

TDateTime CurrentDateTime() {
    const TLocalTime now = LocalTimeNow();
    return static_cast<double>(DayNumber(now.Year, now.Month, now.Day)) +
           static_cast<double>(now.Hour * 3'600'000 + now.Minute * 60'000 + now.Second * 1'000 +
                               now.Millisecond) /
               MillisecondsPerDay;
}

double DatePart(TDateTime value) {
    return std::trunc(value);
}

double TimeOfDay(TDateTime value) {
    return value - std::trunc(value);
}

TDateTime EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        throw Exception("Invalid argument to date encode");
    return static_cast<double>(DayNumber(year, month, day));
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999)
        throw Exception("Invalid argument to time encode");
    return static_cast<double>(hour * 3'600'000 + minute * 60'000 + second * 1'000 + millisecond) /
           MillisecondsPerDay;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond) {
    const TDateTime date = EncodeDate(year, month, day);
    const TDateTime time = EncodeTime(hour, minute, second, millisecond);
    return date < 0 ? date - time : date + time;
}

TDecodedDateTime DecodeDateTime(TDateTime value) {
    TDecodedDateTime out;
    const double scaled = value * MillisecondsPerDay;
    // Beyond this the day count has no meaning for any calendar the system shows.
    if (!(std::fabs(scaled) < 9.0e17))
        return out;
    // nearbyint rounds ties to even in the default rounding mode.
    const int64_t count = static_cast<int64_t>(std::nearbyint(scaled));
    const int64_t magnitude = count < 0 ? -count : count;
    const int64_t days =
        count < 0 ? -(magnitude / MillisecondsPerDay) : magnitude / MillisecondsPerDay;
    int64_t ms = magnitude % MillisecondsPerDay;
    out.Hour = static_cast<int>(ms / 3'600'000);
    ms %= 3'600'000;
    out.Minute = static_cast<int>(ms / 60'000);
    ms %= 60'000;
    out.Second = static_cast<int>(ms / 1'000);
    out.Millisecond = static_cast<int>(ms % 1'000);
    // 30 December 1899 was a Saturday.
    out.DayOfWeek = static_cast<int>(((days + 6) % 7 + 7) % 7);
    const int64_t sinceYearOne = days + DaysBeforeEpoch;
    if (sinceYearOne >= 0)
        SplitDays(sinceYearOne, out);
    return out;
}

} // namespace gravlink
