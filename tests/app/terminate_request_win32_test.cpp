#include "app/terminate_request.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <windows.h>

namespace gravlink {
namespace {

void Requested(int request) {
    std::fprintf(stderr, "terminate request %d\n", request);
    std::fflush(stderr);
    EndProcessForRequest(request);
}

// The window's watcher gets Ctrl+C on a thread of its own and ends the process.
TEST(TerminateRequestDeathTest, CtrlCReachesTheWatcherWhichEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Every process on the console gets the event: the test itself lets it pass.
    SetConsoleCtrlHandler(nullptr, TRUE);
    EXPECT_EXIT(
        {
            FreeConsole();
            AllocConsole();
            SetConsoleCtrlHandler(nullptr, FALSE);
            WatchTerminateRequests(&Requested);
            GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
            Sleep(20'000);
            std::exit(0);
        },
        ::testing::ExitedWithCode(static_cast<int>(STATUS_CONTROL_C_EXIT)), "terminate request 0");
    SetConsoleCtrlHandler(nullptr, FALSE);
}

} // namespace
} // namespace gravlink
