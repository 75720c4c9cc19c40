#include "support/stream_error.h"

#include "support/code_page.h"

#include <cstring>

namespace gravlink {

namespace {

// The C library speaks the locale's UTF-8; the system's messages are Windows-1251.
std::string SystemErrorText(int errnoValue) {
    return Utf8ToWin1251(std::strerror(errnoValue));
}

} // namespace

EFOpenError::EFOpenError(const std::string& path, int errnoValue)
    : EStreamError("Cannot open file \"" + path + "\". " + SystemErrorText(errnoValue)) {}

EFCreateError::EFCreateError(const std::string& path, int errnoValue)
    : EStreamError("Cannot create file \"" + path + "\". " + SystemErrorText(errnoValue)) {}

EReadError::EReadError() : EStreamError("Stream read error") {}

EWriteError::EWriteError() : EStreamError("Stream write error") {}

} // namespace gravlink
