#include "fib/stop_request.h"

#include <atomic>
#include <windows.h>

namespace gravlink {
namespace {

std::atomic<TClientShutdown> Shutdown{nullptr};

[[noreturn]] void EndProcessForStopRequest() {
    // At once, as a signal ends a process: the libraries' own clean-up must not run
    // while the client library is halfway into its shutdown. The status is the one a
    // console program stopped by Ctrl+C ends with.
    TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

// Runs on a thread of its own while the program goes on. The library's shutdown
// calls back into AnswerClientShutdown before it closes anything.
BOOL WINAPI OnConsoleStop(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        if (const TClientShutdown shutdown = Shutdown.load())
            shutdown(0, fb_shutrsn_signal);
        EndProcessForStopRequest();
    default:
        return FALSE;
    }
}

} // namespace

void RouteStopRequests(TClientShutdown shutdown) {
    Shutdown.store(shutdown);
    static const bool installed = SetConsoleCtrlHandler(&OnConsoleStop, TRUE) != 0;
    (void)installed;
}

bool AnswerClientShutdown() {
    EndProcessForStopRequest();
}

} // namespace gravlink
