#include "support/append_file.h"
#include "support/exception.h"
#include "support/file_error.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gravlink {

void TAppendFile::Open(TLockWait wait) {
    // Read access lets the torn-line check read the very file this run holds; a file
    // that may only be written is appended to all the same.
    for (const int access : {O_RDWR, O_WRONLY}) {
        FHandle = ::open(FPath.c_str(), access | O_APPEND | O_CLOEXEC);
        if (FHandle < 0 && errno == ENOENT) {
            FHandle = ::open(FPath.c_str(), access | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
            FCreated = FHandle >= 0;
        }
        FReadable = access == O_RDWR;
        if (FHandle >= 0 || errno != EACCES)
            break;
    }
    if (FHandle < 0)
        RaiseInOutError(errno, FPath);
    const int operation = LOCK_EX | (wait == TLockWait::Fail ? LOCK_NB : 0);
    int locked = 0;
    while ((locked = ::flock(static_cast<int>(FHandle), operation)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        const int error = errno;
        Close();
        if (error == EWOULDBLOCK)
            throw EInOutError(LockViolationError, InOutErrorMessage(LockViolationError));
        RaiseInOutError(error, FPath);
    }
}

void TAppendFile::Close() noexcept {
    if (FHandle >= 0)
        ::close(static_cast<int>(FHandle));
    FHandle = -1;
}

long long TAppendFile::OpenLength() const {
    struct stat info {};
    if (::fstat(static_cast<int>(FHandle), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_size;
    return 0;
}

bool TAppendFile::ReadAt(long long position, char* data, size_t size) {
    if (!FReadable)
        return false;
    while (size > 0) {
        const ssize_t count =
            ::pread(static_cast<int>(FHandle), data, size, static_cast<off_t>(position));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        data += count;
        size -= static_cast<size_t>(count);
        position += count;
    }
    return true;
}

void TAppendFile::CutBack(long long length) {
    struct stat info {};
    if (::fstat(static_cast<int>(FHandle), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    if (::ftruncate(static_cast<int>(FHandle), static_cast<off_t>(length)) != 0)
        RaiseInOutError(errno, FPath);
}

void TAppendFile::WriteOut(const char* data, size_t left) {
    while (left > 0) {
        const ssize_t written = ::write(static_cast<int>(FHandle), data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            RaiseInOutError(errno, FPath);
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
}

void TAppendFile::SyncToDisk() {
    if (::fsync(static_cast<int>(FHandle)) != 0 && errno != EINVAL)
        RaiseInOutError(errno, FPath);
    if (!FCreated)
        return;
    // A crash must not keep the stamps and lose the file that holds their lines.
    const std::string folder = std::filesystem::path(FPath).parent_path().string();
    const int directory =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0)
        RaiseInOutError(errno, FPath);
    const int synced = ::fsync(directory);
    const int error = errno;
    ::close(directory);
    if (synced != 0 && error != EINVAL)
        RaiseInOutError(error, FPath);
    FCreated = false;
}

} // namespace gravlink
