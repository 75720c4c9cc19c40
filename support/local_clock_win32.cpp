#include "support/local_clock.h"

#include <windows.h>

namespace gravlink {

TLocalTime LocalTimeNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear,   now.wMonth,  now.wDay,         now.wHour,
            now.wMinute, now.wSecond, now.wMilliseconds};
}

} // namespace gravlink
