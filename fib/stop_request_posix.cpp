#include "fib/stop_request.h"

#include <array>
#include <csignal>
#include <pthread.h>
#include <unistd.h>

namespace gravlink {

namespace {

constexpr std::array StopSignals = {SIGINT, SIGTERM};

// A signal handler: async-signal-safe calls only. The signal stays blocked while a
// handler of it runs (the library's too, which calls this one), so it is let through
// here to take effect at once.
extern "C" void EndProcessBySignal(int signal) {
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    sigaction(signal, &byDefault, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
    _exit(128 + signal);
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
        ours.sa_handler = &EndProcessBySignal;
        sigemptyset(&ours.sa_mask);
        sigaction(signal, &ours, nullptr);
    }
}

bool AnswerClientShutdown() {
    return false;
}

} // namespace gravlink
