#pragma once

#include "app/command_line.h"

#include <string>

namespace gravlink {

// The entry point of the window module: runs the window of an interactive start with
// the program's arguments and returns the exit status.
using TWindowEntryPoint = int (*)(int argc, char** argv);
inline constexpr const char* WindowEntryPointName = "GravlinkRunWindow";

// An interactive start. The window and its toolkit live in a module of their own
// beside the executable (moduleFileName), loaded only here, so that an unattended
// run never maps them. Without a display, or when the module cannot be loaded, one
// line on standard error says so and how to run the export instead, and the result
// is 2; otherwise it is the window's exit status.
int StartWindow(const TCommandLine& commandLine, const std::string& moduleFileName, int argc,
                char** argv);

// An interactive start of a build without the window: one line on standard error,
// and the exit status 2.
int RefuseWindowStart();

// The line of a start whose window cannot be shown, on standard error, with the reason;
// returns the exit status 2.
int CannotStartWindow(const std::string& reason);

} // namespace gravlink
