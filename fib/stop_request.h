#pragma once

#include <ibase.h>

namespace gravlink {

// The client library's own shutdown (fb_shutdown): it runs the library's shutdown
// callbacks and closes every attachment.
using TClientShutdown = int (*)(unsigned int timeout, const int reason);

// Stops from outside — a terminate or interrupt signal; on Windows Ctrl+C, Ctrl+Break,
// the console closing, a logoff or a shutdown — end the process as they would without
// the client library, which takes them for a shutdown of its own. On Linux a handler
// of ours is installed for each stop signal still at its default action; the library,
// which installs its handlers at its first attach, calls ours in turn, and ours ends
// the process by the signal itself. On Windows the console's stop events are handed
// to shutdown, or end the process at once when it is null. Called when the library is
// loaded, before anything is attached.
void RouteStopRequests(TClientShutdown shutdown);

// The client library is starting its shutdown for a stop request (reason
// fb_shutrsn_signal): the answer of its first phase, true to let it go on. On Windows
// the process ends here, before the library closes anything, so that a stopped run
// commits no stamps. On Linux the signal's own handler ends the process, whichever of
// the two handlers runs first, and the library is refused: it would close the
// attachments, and a signal the process ignores must leave the run going.
bool AnswerClientShutdown();

} // namespace gravlink
