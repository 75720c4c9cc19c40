#include "support/exception.h"
#include "support/file_error.h"
#include "support/file_system_name.h"

#include <cerrno>
#include <filesystem>

namespace gravlink {

int InOutErrorNumber(int systemError, const std::string& path) {
    switch (systemError) {
    case ENOENT: {
        const std::filesystem::path folder = FileSystemPath(path).parent_path();
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
        return systemError;
    }
}

void RaiseInOutError(int systemError, const std::string& path) {
    const int number = InOutErrorNumber(systemError, path);
    // An errno left as it is names no failure of the file layer's own table, even
    // where the numbers meet: EIO is 5 but no denied access, ENETUNREACH 101 no full disk.
    const bool translated = number != systemError || systemError == ENOENT;
    throw EInOutError(number,
                      translated ? InOutErrorMessage(number) : "I/O error " + std::to_string(number),
                      systemError);
}

void RaiseInOutError(const std::error_code& error, const std::string& path) {
    RaiseInOutError(error.value(), path);
}

} // namespace gravlink
