#pragma once

namespace gravlink {

// The local date and time of the system clock, to the millisecond.
struct TLocalTime {
    int Year;
    int Month; // 1 to 12
    int Day;   // 1 to 31
    int Hour;
    int Minute;
    int Second;
    int Millisecond;
};

TLocalTime LocalTimeNow();

} // namespace gravlink
