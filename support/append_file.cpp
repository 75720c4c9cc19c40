#include "support/append_file.h"

#include "support/exception.h"
#include "support/file_error.h"

#include <algorithm>
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
            throw EInOutError(LockViolationError, InOutErrorMessage(LockViolationError));
        RaiseInOutError(error, path);
    }
    FBuffer.reserve(BufferSize);
}

TAppendFile::~TAppendFile() {
    try {
        Flush();
    } catch (const Exception&) {
        // Closing never fails the caller: what must reach the disk is Sync'ed.
    }
    ::close(FHandle);
}

void TAppendFile::CutTornLine() {
    struct stat info {};
    if (::fstat(FHandle, &info) != 0)
        RaiseInOutError(errno, FPath);
    if (info.st_size == 0)
        return;
    const int reader = ::open(FPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (reader < 0)
        RaiseInOutError(errno, FPath);
    std::string block(BufferSize, '\0');
    off_t keep = 0;
    int error = 0;
    bool torn = true;
    for (off_t position = info.st_size; position > 0;) {
        const auto count = static_cast<size_t>(std::min<off_t>(position, BufferSize));
        position -= static_cast<off_t>(count);
        if (::pread(reader, block.data(), count, position) != static_cast<ssize_t>(count)) {
            error = errno != 0 ? errno : EIO;
            break;
        }
        if (position + static_cast<off_t>(count) == info.st_size && block[count - 1] == '\n') {
            torn = false;
            break;
        }
        const size_t lineEnd = std::string_view(block.data(), count).rfind('\n');
        if (lineEnd != std::string_view::npos) {
            keep = position + static_cast<off_t>(lineEnd) + 1;
            break;
        }
    }
    ::close(reader);
    if (error != 0)
        RaiseInOutError(error, FPath);
    if (torn && ::ftruncate(FHandle, keep) != 0)
        RaiseInOutError(errno, FPath);
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
            RaiseInOutError(error, FPath);
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
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
