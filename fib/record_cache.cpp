#include "fib/record_cache.h"

namespace gravlink {

TRecordBuffer& TRecordCache::Append(size_t fieldCount) {
    if (FCount == Capacity())
        FBlocks.push_back(std::make_unique<TBlock>());
    TRecordBuffer& row = (*this)[FCount];
    row.assign(fieldCount, TFieldData{});
    ++FCount;
    return row;
}

void TRecordCache::DropLast() {
    if (FCount == 0)
        return;
    --FCount;
    (*this)[FCount].clear();
}

void TRecordCache::Clear() {
    FBlocks.clear();
    FCount = 0;
}

} // namespace gravlink
