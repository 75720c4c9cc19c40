#include "support/exception.h"
#include "support/file_error.h"
#include "support/file_system_name.h"

#include <cerrno>
#include <filesystem>
#include <windows.h>

namespace gravlink {
namespace {

// The standard library's file calls speak errno on Windows too; the table's numbers
// are the system's own.
int Win32ErrorOf(int errnoValue, const std::string& path) {
    switch (errnoValue) {
    case ENOENT: {
        const std::filesystem::path folder = FileSystemPath(path).parent_path();
        std::error_code ignored;
        return folder.empty() || std::filesystem::is_directory(folder, ignored)
                   ? ERROR_FILE_NOT_FOUND
                   : ERROR_PATH_NOT_FOUND;
    }
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case ENOSPC:
        return ERROR_DISK_FULL;
    default:
        return errnoValue;
    }
}

} // namespace

// The Win32 codes of a missing file (2) or folder (3), too many open files (4), a
// denied access (5), a sharing violation (32) and a full disk (112) are the table's
// own numbers.
int InOutErrorNumber(int systemError, const std::string&) {
    return systemError;
}

void RaiseInOutError(int systemError, const std::string& path) {
    const int number = InOutErrorNumber(systemError, path);
    throw EInOutError(number, InOutErrorMessage(number), systemError);
}

void RaiseInOutError(const std::error_code& error, const std::string& path) {
    RaiseInOutError(error.category() == std::system_category() ? error.value()
                                                               : Win32ErrorOf(error.value(), path),
                    path);
}

} // namespace gravlink
