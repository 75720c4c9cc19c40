#include "fib/stop_request.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <windows.h>

namespace gravlink {
namespace {

// What the client library's shutdown does with the callback the binding registers:
// its first phase ends the process.
int Shutdown(unsigned int, const int reason) {
    std::fprintf(stderr, "client library shutdown, reason %d\n", reason);
    std::fflush(stderr);
    if (reason == fb_shutrsn_signal && !AnswerClientShutdown())
        return 1;
    return 0;
}

// A scheduled run stopped with Ctrl+C (or its console closed) must end before it
// can commit the stamps of lines a second run will write again.
TEST(StopRequestDeathTest, CtrlCReachesTheClientLibrarysShutdownWhichEndsTheRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Every process on the console gets the event: the test itself lets it pass.
    SetConsoleCtrlHandler(nullptr, TRUE);
    EXPECT_EXIT(
        {
            // A console of its own, as a run the scheduler starts has.
            FreeConsole();
            AllocConsole();
            SetConsoleCtrlHandler(nullptr, FALSE);
            RouteStopRequests(&Shutdown);
            GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
            Sleep(20'000);
            std::exit(0);
        },
        ::testing::ExitedWithCode(static_cast<int>(STATUS_CONTROL_C_EXIT)),
        "client library shutdown, reason -5");
    SetConsoleCtrlHandler(nullptr, FALSE);
}

} // namespace
} // namespace gravlink
