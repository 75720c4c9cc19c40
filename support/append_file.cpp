#include "support/append_file.h"

#include "support/exception.h"

#include <algorithm>

namespace gravlink {

namespace {

constexpr std::string_view LineEnd = "\r\n";

} // namespace

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
    // As a rule the file ends with its line end, and two bytes tell.
    char last[2] = {};
    if (FLength == 0 ||
        (FLength >= 2 && ReadAt(FLength - 2, last, 2) && std::string_view(last, 2) == LineEnd))
        return;
    // Searched backwards a block at a time, each block one byte into the one after it,
    // so that a line end across two blocks is found.
    std::string block(BufferSize, '\0');
    long long keep = 0;
    for (long long end = FLength; end > 1;) {
        const auto count = static_cast<size_t>(std::min<long long>(end, BufferSize));
        const long long start = end - static_cast<long long>(count);
        if (!ReadAt(start, block.data(), count))
            return;
        const size_t found = std::string_view(block.data(), count).rfind(LineEnd);
        if (found != std::string_view::npos) {
            keep = start + static_cast<long long>(found + LineEnd.size());
            break;
        }
        end = start + 1;
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
