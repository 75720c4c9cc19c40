#include "fib/stop_request.h"
#include "support/end_by_signal.h"

#include <array>
#include <csignal>

namespace gravlink {

namespace {

constexpr std::array StopSignals = {SIGINT, SIGTERM};

// The handler of a stop signal; the library's handler calls it too.
extern "C" void EndProcessOnStopSignal(int signal) {
    EndProcessBySignal(signal);
}

} // namespace

void RouteStopRequests(TClientShutdown) {
    for (const int signal : StopSignals) {
        struct sigaction current {};
        // An ignored signal stays ignored; a handler of someone else stays theirs.
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
            (current.sa_flags & SA_SIGINFO) != 0)
            continue;
        struct sigaction ours {};
        ours.sa_handler = &EndProcessOnStopSignal;
        sigemptyset(&ours.sa_mask);
        sigaction(signal, &ours, nullptr);
    }
}

bool AnswerClientShutdown() {
    return false;
}

} // namespace gravlink
