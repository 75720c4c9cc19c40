#pragma once

#include <string>

namespace gravlink {

// The error number and message of a failed file operation, from the errno it
// failed with: missing folder 3 "Invalid filename", missing file 2 "File not
// found", no access 5 "File access denied", too many files 4, disk full 101,
// anything else "I/O error N".
// path, when given, tells a missing folder from a missing file.
int InOutErrorNumber(int errnoValue, const std::string& path = {});
std::string InOutErrorMessage(int errorNumber);

// A lock held by another program reads as "I/O error 32".
inline constexpr int LockViolationError = 32;

// Raises EInOutError for a failed file operation on path.
[[noreturn]] void RaiseInOutError(int errnoValue, const std::string& path = {});

} // namespace gravlink
