#pragma once

#include "app/command_line.h"

namespace gravlink {

// What a Linux user asks a program first: its usage (--help, -h) and its version
// (--version), as argument 1. Answered on standard output without a window, a
// display or the settings file.
enum class TInformationRequest { None, Usage, Version };

TInformationRequest InformationRequest(const TCommandLine& commandLine);
// Prints what was asked for and returns the exit status 0.
int PrintInformation(TInformationRequest request, const TCommandLine& commandLine);

} // namespace gravlink
