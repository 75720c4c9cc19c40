#pragma once

#include <string>

namespace gravlink {

// The operating system's own text for one of its error numbers (errno; on Windows a
// Win32 error code), in Windows-1251.
std::string SystemErrorText(int code);

} // namespace gravlink
