#include "support/stream_error.h"

#include "support/system_error_text.h"

namespace gravlink {

EFOpenError::EFOpenError(const std::string& path, int systemError)
    : EStreamError("Cannot open file \"" + path + "\". " + SystemErrorText(systemError)) {}

EFCreateError::EFCreateError(const std::string& path, int systemError)
    : EStreamError("Cannot create file \"" + path + "\". " + SystemErrorText(systemError)) {}

EReadError::EReadError() : EStreamError("Stream read error") {}

EWriteError::EWriteError() : EStreamError("Stream write error") {}

} // namespace gravlink
