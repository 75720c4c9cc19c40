#include "support/file_error.h"

#include "support/exception.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace gravlink {

int InOutErrorNumber(int errnoValue, const std::string& path) {
    switch (errnoValue) {
    case ENOENT: {
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        std::error_code ignored;
        return folder.empty() || std::filesystem::is_directory(folder, ignored) ? 2 : 3;
    }
    case ENOTDIR:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
        return 5;
    case ENOSPC:
    case EDQUOT:
        return 101;
    default:
        return errnoValue;
    }
}

std::string InOutErrorMessage(int errorNumber) {
    switch (errorNumber) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    case 100:
        return "Read beyond end of file";
    case 101:
        return "Disk full";
    case 106:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(errorNumber);
    }
}

void RaiseInOutError(int errnoValue, const std::string& path) {
    const int number = InOutErrorNumber(errnoValue, path);
    // An errno left as it is names no failure of the file layer's own table, even
    // where the numbers meet: EIO is 5 but no denied access, ENETUNREACH 101 no full disk.
    const bool translated = number != errnoValue || errnoValue == ENOENT;
    throw EInOutError(
        number, translated ? InOutErrorMessage(number) : "I/O error " + std::to_string(number),
        errnoValue);
}

} // namespace gravlink
