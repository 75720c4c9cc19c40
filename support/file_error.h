#pragma once

#include <string>
#include <system_error>

namespace gravlink {

// The error number and message of a failed file operation, from the platform's
// error number it failed with (errno on Linux, a Win32 error code on Windows):
// missing folder 3 "Invalid filename", missing file 2 "File not found", no access
// 5 "File access denied", too many files 4, disk full 101 on Linux (Windows says
// 112, "I/O error 112"), anything else "I/O error N".
// path, when given, tells a missing folder from a missing file.
int InOutErrorNumber(int systemError, const std::string& path = {});
std::string InOutErrorMessage(int errorNumber);

// A file held by another program reads as "I/O error 32".
inline constexpr int LockViolationError = 32;

// Raises EInOutError for a failed file operation on path.
[[noreturn]] void RaiseInOutError(int systemError, const std::string& path = {});
// The same for a failure the standard library's file system calls reported.
[[noreturn]] void RaiseInOutError(const std::error_code& error, const std::string& path);

} // namespace gravlink
