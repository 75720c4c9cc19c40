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

TAppendFile::TAppendFile(const std::string& path, TLockWait wait) : FPath(path) {
    FHandle = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (FHandle < 0 && errno == ENOENT) {
        FHandle = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        FCreated = FHandle >= 0;
    }
    if (FHandle < 0)
        RaiseInOutError(errno, path);
    const int operation = LOCK_EX | (wait == TLockWait::Fail ? LOCK_NB : 0);
    int locked = 0;
    while ((locked = ::flock(FHandle, operation)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        const int error = errno;
        ::close(FHandle);
        FHandle = -1;
        if (error == EWOULDBLOCK)
            throw EInOutError(LockViolationError, InOutErrorMessage(LockViolationError), error);
        RaiseInOutError(error, path);
    }
    FBuffer.reserve(BufferSize);
    // Nobody else writes while the lock is held.
    struct stat info {};
    if (::fstat(FHandle, &info) == 0 && S_ISREG(info.st_mode))
        FLength = info.st_size;
}

TAppendFile::~TAppendFile() {
    try {
        Flush();
    } catch (const Exception&) {
        // Closing never fails the caller: what must reach the disk is Sync'ed.
    }
    ::close(FHandle);
}

void TAppendFile::Write(std::string_view bytes) {
    if (FBuffer.size() + bytes.size() > BufferSize)
        Flush();
    if (bytes.size() >= BufferSize) {
        FBuffer.append(bytes);
        Flush();
        return;
    }
    FBuffer.append(bytes);
}

void TAppendFile::Flush() {
    const char* data = FBuffer.data();
    size_t left = FBuffer.size();
    while (left > 0) {
        const ssize_t written = ::write(FHandle, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            FBuffer.clear();
            // The buffer began at a record's end; what reached the file of it goes.
            // Not possible for a device, which keeps no length.
            (void)::ftruncate(FHandle, static_cast<off_t>(FLength));
            RaiseInOutError(error, FPath);
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    FLength += static_cast<long long>(FBuffer.size());
    FBuffer.clear();
}

void TAppendFile::Sync() {
    Flush();
    if (::fsync(FHandle) != 0 && errno != EINVAL)
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
