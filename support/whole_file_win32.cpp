#include "support/stream_error.h"
#include "support/whole_file.h"
#include "support/wide_text.h"

#include <windows.h>

namespace gravlink {
namespace {

// Owns an open file handle.
class TFileHandle {
public:
    explicit TFileHandle(HANDLE handle) : FHandle(handle) {}
    ~TFileHandle() {
        if (FHandle != INVALID_HANDLE_VALUE)
            CloseHandle(FHandle);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;

    HANDLE Get() const { return FHandle; }

private:
    HANDLE FHandle;
};

} // namespace

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WideOfWin1251(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string ReadWholeFile(const std::string& path) {
    const TFileHandle file(CreateFileW(WideOfWin1251(path).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        throw EFOpenError(path, static_cast<int>(GetLastError()));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 || size.QuadPart > 0x7FFFFFFF)
        throw EReadError();
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < content.size()) {
        DWORD count = 0;
        if (!ReadFile(file.Get(), content.data() + done, static_cast<DWORD>(content.size() - done),
                      &count, nullptr) ||
            count == 0)
            throw EReadError();
        done += count;
    }
    return content;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    const TFileHandle file(CreateFileW(WideOfWin1251(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        throw EFCreateError(path, static_cast<int>(GetLastError()));
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw EWriteError();
}

} // namespace gravlink
