#pragma once

#include <ibase.h>

namespace gravlink {

// The client library's own shutdown (fb_shutdown): it runs the library's shutdown
// callbacks and closes every attachment.
using TClientShutdown = int (*)(unsigned int timeout, const int reason);

// Stops from outside — a terminate signal; on Windows Ctrl+C, Ctrl+Break, the
// console closing, a logoff or a shutdown — reach the client library's shutdown. On
// Linux the library catches the signals itself; on Windows the console's stop events
// are handed to shutdown, or end the process at once when it is null.
void RouteStopRequests(TClientShutdown shutdown);

// Ends the process the way the stop would have ended it without the library, before
// the library closes anything: a stopped run commits no stamps.
[[noreturn]] void EndProcessForStopRequest();

} // namespace gravlink
