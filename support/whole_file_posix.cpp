#include "support/stream_error.h"
#include "support/whole_file.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace gravlink {
namespace {

// Owns an open file descriptor.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : FFd(fd) {}
    ~FileDescriptor() {
        if (FFd >= 0)
            ::close(FFd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return FFd; }

private:
    int FFd;
};

} // namespace

bool IsFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return status.type() != std::filesystem::file_type::not_found &&
           status.type() != std::filesystem::file_type::directory;
}

std::string ReadWholeFile(const std::string& path) {
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        throw EFOpenError(path, errno);
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        throw EReadError();
    std::string content(static_cast<size_t>(info.st_size), '\0');
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t count = ::read(file.Get(), content.data() + done, content.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            throw EReadError();
        done += static_cast<size_t>(count);
    }
    return content;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    const FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.Get() < 0)
        throw EFCreateError(path, errno);
    if (::write(file.Get(), bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw EWriteError();
}

} // namespace gravlink
