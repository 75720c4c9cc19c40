#pragma once

#include "app/command_line.h"

namespace gravlink {

// The unattended export ("-auto") from start to end, with no window toolkit: the
// controller runs under a headless window, the export is posted to the run's own
// event queue and runs once creation has finished, then the shutdown writes the
// settings back and closes the connection. Returns the exit status: 0 when nothing
// was reported, 1 when any failure was.
int RunUnattended(const TCommandLine& commandLine);

} // namespace gravlink
