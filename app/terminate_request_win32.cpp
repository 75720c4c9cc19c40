#include "app/terminate_request.h"

#include <utility>
#include <windows.h>

namespace gravlink {

namespace {

std::function<void(int request)>& Watcher() {
    static std::function<void(int request)> watcher;
    return watcher;
}

// The system runs it on a thread of its own for each of the console's stop events:
// Ctrl+C, Ctrl+Break, the console closing, a logoff, a shutdown.
BOOL WINAPI OnConsoleStop(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        Watcher()(static_cast<int>(event));
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void WatchTerminateRequests(std::function<void(int request)> onRequest) {
    Watcher() = std::move(onRequest);
    SetConsoleCtrlHandler(&OnConsoleStop, TRUE);
}

void EndProcessForRequest(int) {
    // At once, with the status of a console program stopped by Ctrl+C: no library's
    // clean-up runs halfway into a call.
    TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

} // namespace gravlink
