#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gravlink {

// A text file opened for appending (created when missing, never truncated) that
// other programs may only read while it is open: held under an exclusive lock on
// Linux, opened with read-only sharing on Windows. Writes are buffered; Sync puts
// them on disk.
class TAppendFile {
public:
    enum class TLockWait {
        Wait, // queue behind another holder: entries of two runs never interleave
        Fail, // another holder is a failure, "I/O error 32"
        // On Windows a holder may be any program; waiting for it is bounded.
    };

    TAppendFile(const std::string& path, TLockWait wait);
    // Flushes and closes; failures here are ignored.
    ~TAppendFile();
    TAppendFile(const TAppendFile&) = delete;
    TAppendFile& operator=(const TAppendFile&) = delete;

    void Write(std::string_view bytes);
    // Writes out the buffer and waits until the bytes are on disk, and with them
    // the file's name in its folder when this open created the file.
    void Sync();

private:
    void Flush();
    // The platform's side: opening (and locking), writing every byte, putting what
    // was written on disk, closing.
    void Open(TLockWait wait);
    void WriteOut(const char* data, size_t size);
    void SyncToDisk();
    void Close() noexcept;

    std::string FPath;
    std::intptr_t FHandle = -1; // a file descriptor, or a Windows handle
    bool FCreated = false;      // the folder's entry for the file is not on disk yet
    std::string FBuffer;
    static constexpr size_t BufferSize = 64 * 1024;
};

} // namespace gravlink
