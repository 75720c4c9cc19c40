#include "support/append_file.h"

#include "support/exception.h"

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
        CutBack(FLength);
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
