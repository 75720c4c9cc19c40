#pragma once

#include <string>
#include <string_view>

namespace gravlink {

// A text file opened for appending (created when missing, never truncated) and
// held under an exclusive lock while open, so that other programs may only read
// it. Writes are buffered; Sync puts them on disk.
class TAppendFile {
public:
    enum class TLockWait {
        Wait, // queue behind another holder: entries of two runs never interleave
        Fail, // another holder is a failure, "I/O error 32"
    };

    TAppendFile(const std::string& path, TLockWait wait);
    // Flushes and closes; failures here are ignored.
    ~TAppendFile();
    TAppendFile(const TAppendFile&) = delete;
    TAppendFile& operator=(const TAppendFile&) = delete;

    // Cuts a last line that lacks its line end back to the end of the line before it.
    // A run killed while writing leaves such a torn line; its record was never stamped,
    // so it goes out whole with this run instead of being run into.
    void CutTornLine();
    void Write(std::string_view bytes);
    // Writes out the buffer and waits until the bytes are on disk, and with them
    // the file's name in its folder when this open created the file.
    void Sync();

private:
    void Flush();

    std::string FPath;
    int FHandle = -1;
    bool FCreated = false; // the folder's entry for the file is not on disk yet
    std::string FBuffer;
    static constexpr size_t BufferSize = 64 * 1024;
};

} // namespace gravlink
