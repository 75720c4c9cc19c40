#include "support/file_replace.h"
#include "support/stream_error.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gravlink {

namespace {

// Owns an open file descriptor.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : FFd(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return FFd; }
    // False when closing reported a failure of an earlier write.
    bool Close() {
        const int fd = FFd;
        FFd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int FFd;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(count));
    }
    return true;
}

// The file a symbolic link names, so that the link stays a link.
std::string LinkTarget(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void WriteInPlace(const std::string& path, std::string_view bytes) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (file.Get() < 0)
        throw EFCreateError(path, errno);
    if (!WriteAll(file.Get(), bytes))
        throw EWriteError();
}

// Removes the new file unless it has taken the old one's name.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : FPath(std::move(path)) {}
    ~TemporaryFile() {
        if (!FPath.empty())
            ::unlink(FPath.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& Path() const { return FPath; }
    void Renamed() { FPath.clear(); }

private:
    std::string FPath;
};

} // namespace

void ReplaceFileContent(const std::string& path, std::string_view bytes) {
    struct stat info {};
    const bool exists = ::lstat(path.c_str(), &info) == 0;
    const std::string target = exists && S_ISLNK(info.st_mode) ? LinkTarget(path) : path;
    const bool existed = ::stat(target.c_str(), &info) == 0;
    if (existed && !S_ISREG(info.st_mode))
        return WriteInPlace(target, bytes);

    std::string pattern = target + ".XXXXXX";
    FileDescriptor file(::mkostemp(pattern.data(), O_CLOEXEC));
    if (file.Get() < 0)
        throw EFCreateError(path, errno);
    TemporaryFile temporary(pattern);
    // A new file gets what creating it would have given it.
    mode_t mode = info.st_mode & 07777;
    if (!existed) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(file.Get(), mode) != 0 || !WriteAll(file.Get(), bytes) ||
        ::fsync(file.Get()) != 0 || !file.Close())
        throw EWriteError();
    if (::rename(temporary.Path().c_str(), target.c_str()) != 0)
        throw EWriteError();
    temporary.Renamed();
    // The new name on disk too; the bytes are there already, so a failure here loses
    // nothing that the old file held.
    FileDescriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        ::fsync(folder.Get());
}

} // namespace gravlink
