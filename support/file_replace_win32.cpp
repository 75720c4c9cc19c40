#include "support/file_replace.h"
#include "support/stream_error.h"
#include "support/wide_text.h"

#include <windows.h>

namespace gravlink {
namespace {

// Owns an open file handle.
class TFileHandle {
public:
    explicit TFileHandle(HANDLE handle) : FHandle(handle) {}
    ~TFileHandle() { Close(); }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;

    HANDLE Get() const { return FHandle; }
    void Close() {
        if (FHandle != INVALID_HANDLE_VALUE)
            CloseHandle(FHandle);
        FHandle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE FHandle;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

} // namespace

void ReplaceFileContent(const std::string& path, std::string_view bytes) {
    const std::wstring target = WideOfWin1251(path);
    const std::wstring temporary = target + L".new";
    TFileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        throw EFCreateError(path, static_cast<int>(GetLastError()));
    const bool written = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
    file.Close();
    // The new file takes the old one's name only once it is whole on disk.
    if (!written || !MoveFileExW(temporary.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        throw EWriteError();
    }
}

} // namespace gravlink
