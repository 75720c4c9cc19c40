#include "app/terminate_request.h"
#include "support/end_by_signal.h"

#include <csignal>
#include <pthread.h>
#include <thread>

namespace gravlink {

namespace {

sigset_t Requests() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

} // namespace

void WatchTerminateRequests(std::function<void(int request)> onRequest) {
    // Blocked here, in every thread started later too; only the watcher takes them.
    const sigset_t set = Requests();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([set, onRequest = std::move(onRequest)] {
        for (;;) {
            int request = 0;
            if (sigwait(&set, &request) == 0)
                onRequest(request);
        }
    }).detach();
}

void EndProcessForRequest(int request) {
    EndProcessBySignal(request);
}

} // namespace gravlink
