#include "fib/record_layout.h"

#include <cstring>

namespace gravlink {

namespace {

template <class T> void AppendRaw(std::string& row, const T& value) {
    row.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T> T ReadRaw(const char* data) {
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

} // namespace

TRecordLayout::TRecordLayout(std::vector<TKind> kinds) : FKinds(std::move(kinds)) {}

void TRecordLayout::Begin(std::string& row) const {
    row.assign(FlagBytes(), '\0');
}

void TRecordLayout::SetNull(std::string& row, size_t field) {
    row[field / 8] = static_cast<char>(row[field / 8] | (1 << (field % 8)));
}

void TRecordLayout::AppendInt32(std::string& row, int32_t value) {
    AppendRaw(row, value);
}

void TRecordLayout::AppendInt64(std::string& row, int64_t value) {
    AppendRaw(row, value);
}

void TRecordLayout::AppendDouble(std::string& row, double value) {
    AppendRaw(row, value);
}

void TRecordLayout::AppendQuad(std::string& row, const ISC_QUAD& value) {
    AppendRaw(row, value);
}

size_t TRecordLayout::BeginText(std::string& row) {
    const size_t place = row.size();
    row.append(sizeof(uint16_t), '\0');
    return place;
}

void TRecordLayout::EndText(std::string& row, size_t place) {
    // A string column holds at most 32767 bytes.
    const auto length = static_cast<uint16_t>(row.size() - place - sizeof(uint16_t));
    std::memcpy(&row[place], &length, sizeof length);
}

bool TRecordLayout::IsNull(const char* row, size_t field) const {
    return (static_cast<unsigned char>(row[field / 8]) >> (field % 8)) & 1;
}

size_t TRecordLayout::ValueSize(const char* data, size_t field) const {
    switch (FKinds[field]) {
    case TKind::Text:
        return sizeof(uint16_t) + ReadRaw<uint16_t>(data);
    case TKind::Int32:
        return sizeof(int32_t);
    case TKind::Int64:
        return sizeof(int64_t);
    case TKind::Double:
        return sizeof(double);
    case TKind::Quad:
        return sizeof(ISC_QUAD);
    }
    return 0;
}

TFieldData TRecordLayout::Read(const char* row, size_t field) const {
    if (field >= FKinds.size() || IsNull(row, field))
        return {};
    const char* data = row + FlagBytes();
    for (size_t before = 0; before < field; ++before)
        if (!IsNull(row, before))
            data += ValueSize(data, before);
    switch (FKinds[field]) {
    case TKind::Text:
        return std::string(data + sizeof(uint16_t), ReadRaw<uint16_t>(data));
    case TKind::Int32:
        return ReadRaw<int32_t>(data);
    case TKind::Int64:
        return ReadRaw<int64_t>(data);
    case TKind::Double:
        return ReadRaw<double>(data);
    case TKind::Quad:
        return ReadRaw<ISC_QUAD>(data);
    }
    return {};
}

} // namespace gravlink
