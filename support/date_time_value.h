#pragma once

namespace gravlink {

// A point in time: days since 30 December 1899, the fraction being the time of day.
// A negative value counts its whole part backwards; its time of day is the absolute
// value of the fraction (-1.25 is 29 December 1899, 06:00).
using TDateTime = double;

// The local date and time of the system clock, to the millisecond.
TDateTime CurrentDateTime();

// The day: the value truncated toward zero.
double DatePart(TDateTime value);

// The time of day: the value minus its day (negative for a negative value).
double TimeOfDay(TDateTime value);

// Builds the day number of a Gregorian date (years 1 to 9999) and the fraction of
// a time of day. Both throw gravlink::Exception for a date or time that does not exist.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
// A date and a time joined the way a value keeps them: for a day before 30 December
// 1899 the time is subtracted.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int millisecond);

// A value taken apart for text: rounded to whole milliseconds (ties to even), so that
// a value within half a millisecond of midnight falls on the next day. A day that lies
// before 1 January of year 1, or a value that is not a number, gives 0 for year, month
// and day.
struct TDecodedDateTime {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
    int DayOfWeek = 0; // 0 is Sunday
};

TDecodedDateTime DecodeDateTime(TDateTime value);

} // namespace gravlink
