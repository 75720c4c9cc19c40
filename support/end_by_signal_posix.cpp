#include "support/end_by_signal.h"

#include <csignal>
#include <pthread.h>
#include <unistd.h>

namespace gravlink {

void EndProcessBySignal(int signal) noexcept {
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    sigaction(signal, &byDefault, nullptr);
    // A signal stays blocked while a handler of it runs.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
    _exit(128 + signal);
}

} // namespace gravlink
