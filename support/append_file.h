#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gravlink {

// A text file opened for appending (created when missing, never truncated) that
// other programs may only read while it is open: held under an exclusive lock on
// Linux, opened with read-only sharing on Windows. Writes are buffered; Sync puts
// them on disk. Each Write is one whole record (a line, a log entry): when writing
// fails, the file is cut back to the end of the last record that reached it whole,
// so that no torn record stays for the next one to join.
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

    // Cuts a last line that lacks its line end (CR LF) back to the end of the line
    // before it. A run killed while writing leaves such a torn line; its record was
    // never stamped, so it goes out whole with this run instead of being run into. A
    // file that cannot be read is left as it is.
    void CutTornLine();
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
    // The open file's length; 0 for a device, which keeps none.
    long long OpenLength() const;
    // Reads size bytes of the open file from position on; false when they cannot be
    // read (a file this run may only write, a read that fails).
    bool ReadAt(long long position, char* data, size_t size);
    // Cuts the file back to the given length; a device cannot be cut and is left.
    void CutBack(long long length);

    std::string FPath;
    std::intptr_t FHandle = -1; // a file descriptor, or a Windows handle
    bool FCreated = false;      // the folder's entry for the file is not on disk yet
    bool FReadable = false;     // opened for reading too
    long long FLength = 0;      // the file's length: its whole records
    std::string FBuffer;
    static constexpr size_t BufferSize = 64 * 1024;
};

} // namespace gravlink
