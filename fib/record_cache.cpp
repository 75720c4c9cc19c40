#include "fib/record_cache.h"

#include <cstring>

namespace gravlink {

void TRecordCache::Append(std::string_view bytes) {
    if (bytes.size() > FFreeBytes) {
        const size_t size = bytes.size() > BlockSize ? bytes.size() : BlockSize;
        // Not cleared: every byte is written before it is read.
        FBlocks.emplace_back(new char[size]);
        FFree = FBlocks.back().get();
        FFreeBytes = size;
        FCapacity += size;
    }
    if (!bytes.empty())
        std::memcpy(FFree, bytes.data(), bytes.size());
    FRows.push_back(FFree);
    FFree += bytes.size();
    FFreeBytes -= bytes.size();
}

void TRecordCache::Clear() {
    FRows.clear();
    FRows.shrink_to_fit();
    FBlocks.clear();
    FFree = nullptr;
    FFreeBytes = 0;
    FCapacity = 0;
}

} // namespace gravlink
