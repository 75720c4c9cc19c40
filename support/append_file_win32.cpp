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
        // Other programs may read the file while it is open, and do nothing else. Read
        // access lets the torn-line check read the very file this run holds; a file that
        // may only be written, or that a reader shares for reading alone, is appended
        // to all the same.
        for (const DWORD access : {GENERIC_READ | GENERIC_WRITE, DWORD{GENERIC_WRITE}}) {
            file = CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            error = GetLastError();
            FReadable = (access & GENERIC_READ) != 0;
            if (file != INVALID_HANDLE_VALUE ||
                (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
                break;
        }
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

bool TAppendFile::ReadAt(long long position, char* data, size_t size) {
    if (!FReadable)
        return false;
    bool read = true;
    while (size > 0 && read) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(position & 0xFFFFFFFF);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD count = 0;
        read = ReadFile(Handle(FHandle), data, chunk, &count, &at) && count > 0;
        data += count;
        size -= count;
        position += count;
    }
    // A read moves the file's pointer, and writing goes on from the pointer.
    LARGE_INTEGER end{};
    return SetFilePointerEx(Handle(FHandle), end, nullptr, FILE_END) && read;
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
