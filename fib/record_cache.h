#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

namespace gravlink {

// The rows a data set has fetched, kept until it closes, each as one run of bytes
// (the data set's compact form of its fetched buffer). Rows are packed into large
// blocks and never move once cached; the cost of a row is its bytes and one pointer.
class TRecordCache {
public:
    // Bytes of one block; a larger row gets a block of its own.
    static constexpr size_t BlockSize = 256 * 1024;

    // Rows cached.
    size_t Count() const { return FRows.size(); }
    // Bytes held in blocks, used or not.
    size_t Capacity() const { return FCapacity; }

    // A copy of bytes as the new last row.
    void Append(std::string_view bytes);
    // The bytes of a row, valid until Clear.
    const char* operator[](size_t row) const { return FRows[row]; }
    // Frees every row and block.
    void Clear();

private:
    std::vector<std::unique_ptr<char[]>> FBlocks;
    std::deque<const char*> FRows;
    char* FFree = nullptr;
    size_t FFreeBytes = 0;
    size_t FCapacity = 0;
};

} // namespace gravlink
