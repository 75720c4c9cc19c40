#include "support/append_file.h"

#include "support/exception.h"

#include <algorithm>

namespace gravlink {

TAppendFile::TAppendFile(const std::string& path, TLockWait wait) : FPath(path) {
    Open(wait);
    FBuffer.reserve(BufferSize);
    // Nobody else writes while the file is held.
    FLength = OpenLength();
}

TAppendFile::~TAppendFile() {
    try {
        Flush();
    } catch (const Exception&) {
        // Closing never fails the caller: what must reach the disk is Sync'ed.
    }
    Close();
}

void TAppendFile::CutTornLine() {
    // As a rule the file ends with its line end, and one byte tells.
    char last = '\n';
    if (FLength > 0)
        ReadAt(FLength - 1, &last, 1);
    if (last == '\n')
        return;
    long long keep = FLength;
    std::string block(BufferSize, '\0');
    while (keep > 0) {
        const auto count = static_cast<size_t>(std::min<long long>(keep, BufferSize));
        keep -= static_cast<long long>(count);
        ReadAt(keep, block.data(), count);
        const size_t lineEnd = std::string_view(block.data(), count).rfind('\n');
        if (lineEnd != std::string_view::npos) {
            keep += static_cast<long long>(lineEnd) + 1;
            break;
        }
    }
    CutBack(keep);
    FLength = keep;
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
    if (FBuffer.empty())
        return;
    try {
        WriteOut(FBuffer.data(), FBuffer.size());
    } catch (...) {
        // What could not be written is not tried again. The buffer began at a
        // record's end; what reached the file of it goes.
        FBuffer.clear();
        try {
            CutBack(FLength);
        } catch (const Exception&) {
            // The failure to write is the one reported.
        }
        throw;
    }
    FLength += static_cast<long long>(FBuffer.size());
    FBuffer.clear();
}

void TAppendFile::Sync() {
    Flush();
    SyncToDisk();
}

} // namespace gravlink
