#pragma once

#include "fib/fib_fields.h"

#include <array>
#include <memory>
#include <vector>

namespace gravlink {

// One cached row: the data of each field, in field order.
using TRecordBuffer = std::vector<TFieldData>;

// The rows a data set has fetched, kept until it closes. Room grows in blocks of 32
// rows, so a row never moves once it is cached.
class TRecordCache {
public:
    static constexpr size_t BlockSize = 32;

    // Rows cached.
    size_t Count() const { return FCount; }
    // Rows there is room for: whole blocks.
    size_t Capacity() const { return FBlocks.size() * BlockSize; }

    // A new row at the end with fieldCount null values.
    TRecordBuffer& Append(size_t fieldCount);
    TRecordBuffer& operator[](size_t row) { return (*FBlocks[row / BlockSize])[row % BlockSize]; }
    const TRecordBuffer& operator[](size_t row) const {
        return (*FBlocks[row / BlockSize])[row % BlockSize];
    }
    // Drops the last row (a fetch that failed half-way).
    void DropLast();
    // Frees every row and block.
    void Clear();

private:
    using TBlock = std::array<TRecordBuffer, BlockSize>;
    std::vector<std::unique_ptr<TBlock>> FBlocks;
    size_t FCount = 0;
};

} // namespace gravlink
