#include "support/append_file.h"
#include "support/file_error.h"
#include "support/wide_text.h"

#include <windows.h>

namespace gravlink {
namespace {

HANDLE Handle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle); // NOLINT(performance-no-int-to-ptr)
}

// Any program may hold the error log open for writing, not only another run; a
// scheduled run waits for it this long before it gives up with "I/O error 32".
constexpr int LockWaitMilliseconds = 10'000;
constexpr int LockPollMilliseconds = 50;

} // namespace

void TAppendFile::Open(TLockWait wait) {
    const std::wstring path = WideOfWin1251(FPath);
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD error = 0;
    for (int waited = 0;; waited += LockPollMilliseconds) {
        // Other programs may read the file while it is open, and do nothing else.
        file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        error = GetLastError();
        if (file != INVALID_HANDLE_VALUE || error != ERROR_SHARING_VIOLATION ||
            wait == TLockWait::Fail || waited >= LockWaitMilliseconds)
            break;
        Sleep(LockPollMilliseconds);
    }
    if (file == INVALID_HANDLE_VALUE)
        RaiseInOutError(static_cast<int>(error), FPath);
    FHandle = reinterpret_cast<std::intptr_t>(file);
    FCreated = error != ERROR_ALREADY_EXISTS;
    // Writing continues after the last byte; nobody else writes while this is open.
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(file, end, nullptr, FILE_END)) {
        error = GetLastError();
        Close();
        RaiseInOutError(static_cast<int>(error), FPath);
    }
}

void TAppendFile::Close() noexcept {
    if (FHandle != -1)
        CloseHandle(Handle(FHandle));
    FHandle = -1;
}

long long TAppendFile::OpenLength() const {
    LARGE_INTEGER size{};
    if (GetFileType(Handle(FHandle)) != FILE_TYPE_DISK || !GetFileSizeEx(Handle(FHandle), &size))
        return 0;
    return size.QuadPart;
}

void TAppendFile::ReadAt(long long position, char* data, size_t size) const {
    // The file is open for writing only, as other programs see it.
    HANDLE reader =
        CreateFileW(WideOfWin1251(FPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (reader == INVALID_HANDLE_VALUE)
        RaiseInOutError(static_cast<int>(GetLastError()), FPath);
    DWORD error = 0;
    while (size > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(position & 0xFFFFFFFF);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD count = 0;
        if (!ReadFile(reader, data, chunk, &count, &at) || count == 0) {
            error = count == 0 ? ERROR_HANDLE_EOF : GetLastError();
            break;
        }
        data += count;
        size -= count;
        position += count;
    }
    CloseHandle(reader);
    if (error != 0)
        RaiseInOutError(static_cast<int>(error), FPath);
}

void TAppendFile::CutBack(long long length) {
    if (GetFileType(Handle(FHandle)) != FILE_TYPE_DISK)
        return;
    LARGE_INTEGER end{};
    end.QuadPart = length;
    // The next write goes on from the cut: the file is not opened for appending.
    if (!SetFilePointerEx(Handle(FHandle), end, nullptr, FILE_BEGIN) ||
        !SetEndOfFile(Handle(FHandle)))
        RaiseInOutError(static_cast<int>(GetLastError()), FPath);
}

void TAppendFile::WriteOut(const char* data, size_t left) {
    while (left > 0) {
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(Handle(FHandle), data, chunk, &written, nullptr))
            RaiseInOutError(static_cast<int>(GetLastError()), FPath);
        data += written;
        left -= written;
    }
}

// NTFS journals the folder's entry for a new file, and flushing the file writes that
// journal out too: no folder is flushed on its own here.
void TAppendFile::SyncToDisk() {
    if (!FlushFileBuffers(Handle(FHandle)))
        RaiseInOutError(static_cast<int>(GetLastError()), FPath);
    FCreated = false;
}

} // namespace gravlink
