#pragma once

#include "fib/fib_fields.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gravlink {

// How the data set keeps one row in its cache: the null flags, one bit per field,
// then the value of each field that is not null, in field order: strings as a 16-bit
// length and their bytes, 32-bit integers, 64-bit integers, doubles (scaled small
// integers, floats, dates and times) and BLOB ids at their own sizes. A row thus costs
// about what the server sent for it, and a value becomes field data only when read.
class TRecordLayout {
public:
    // What a field's value is kept as: the alternative of TFieldData it reads back as.
    enum class TKind : uint8_t { Text, Int32, Int64, Double, Quad };

    TRecordLayout() = default;
    explicit TRecordLayout(std::vector<TKind> kinds);

    size_t FieldCount() const { return FKinds.size(); }
    TKind Kind(size_t field) const { return FKinds[field]; }

    // Building one row: Begin, then each field in order, null or with its value.
    void Begin(std::string& row) const;
    static void SetNull(std::string& row, size_t field);
    static void AppendInt32(std::string& row, int32_t value);
    static void AppendInt64(std::string& row, int64_t value);
    static void AppendDouble(std::string& row, double value);
    static void AppendQuad(std::string& row, const ISC_QUAD& value);
    // A string's bytes are appended by the caller after its length's place; EndText
    // writes the length of what came after the place.
    static size_t BeginText(std::string& row);
    static void EndText(std::string& row, size_t place);

    bool IsNull(const char* row, size_t field) const;
    // The data of one field of a cached row.
    TFieldData Read(const char* row, size_t field) const;

private:
    size_t FlagBytes() const { return (FKinds.size() + 7) / 8; }
    // Bytes a value of field takes at data.
    size_t ValueSize(const char* data, size_t field) const;

    std::vector<TKind> FKinds;
};

} // namespace gravlink
