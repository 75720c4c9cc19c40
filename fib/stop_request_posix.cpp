#include "fib/stop_request.h"

#include <csignal>
#include <unistd.h>

namespace gravlink {

void RouteStopRequests(TClientShutdown) {}

void EndProcessForStopRequest() {
    std::signal(SIGTERM, SIG_DFL);
    std::raise(SIGTERM);
    _exit(128 + SIGTERM);
}

} // namespace gravlink
