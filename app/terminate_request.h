#pragma once

#include <functional>

namespace gravlink {

// Requests from outside to end the program (SIGTERM, SIGINT), taken on a thread of
// their own: no library's handler can hold them back, also while it is busy inside a
// call. Must be called before any other thread starts; onRequest runs on that thread
// with the request's number, once per request.
void WatchTerminateRequests(std::function<void(int request)> onRequest);

// Ends the process at once, as the request would have ended it untaken.
[[noreturn]] void EndProcessForRequest(int request);

} // namespace gravlink
