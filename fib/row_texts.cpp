#include "fib/row_texts.h"

#include "fib/fib_query.h"
#include "fib/scaled_integer_text.h"
#include "support/number_text.h"
#include "support/text_format_settings.h"

#include <cstdint>
#include <cstring>

namespace gravlink {

namespace {

template <class T> T ReadValue(const char* data) {
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

char* Copy(char* at, const char* text, size_t size) {
    std::memcpy(at, text, size);
    return at + size;
}

// What AsString cuts from the end of a CHAR or VARCHAR with trimming on.
char* TrimEnd(char* start, char* end) {
    while (end > start && static_cast<unsigned char>(end[-1]) <= 32)
        --end;
    return end;
}

} // namespace

TRowTexts::TRowTexts(TFIBQuery& query, char separator, std::string_view end)
    : FSeparator(separator), FEnd(end) {
    FPatterns.emplace_back(TextFormatSettings.ShortDatePattern, TextFormatSettings);
    FPatterns.emplace_back(TextFormatSettings.LongTimePattern, TextFormatSettings);
    FPatterns.emplace_back("c", TextFormatSettings);
    const bool trim = query.HasOption(qoTrimCharFields);
    const TFIBXSQLDA& fields = query.Current();
    FColumns.reserve(static_cast<size_t>(fields.Count()));
    for (int i = 0; i < fields.Count(); ++i) {
        const TFIBXSQLVAR& var = fields[i];
        const XSQLVAR& described = var.Var();
        TColumn column;
        column.Var = &var;
        column.Data = described.sqldata;
        column.Null = var.Nullable() ? described.sqlind : nullptr;
        column.Length = described.sqllen;
        column.Scale = described.sqlscale;
        size_t longest = 0;
        switch (var.SqlType()) {
        case SQL_TEXT:
            column.Kind = trim ? TrimmedText : Text;
            longest = static_cast<size_t>(column.Length);
            break;
        case SQL_VARYING:
            column.Kind = trim ? TrimmedVarying : Varying;
            longest = static_cast<size_t>(column.Length);
            break;
        case SQL_SHORT:
        case SQL_LONG:
            if (column.Scale == 0)
                column.Kind = var.SqlType() == SQL_SHORT ? Short : Long;
            else
                column.Kind = var.SqlType() == SQL_SHORT ? ScaledShort : ScaledLong;
            longest = FloatTextMaxLength;
            break;
        case SQL_INT64:
            column.Kind = Int64;
            longest = ScaledInt64TextMaxLength(-column.Scale);
            break;
        case SQL_FLOAT:
            column.Kind = Float;
            longest = FloatTextMaxLength;
            break;
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            column.Kind = Double;
            longest = FloatTextMaxLength;
            break;
        case SQL_TYPE_DATE:
            column.Kind = Date;
            column.Pattern = &FPatterns[0];
            longest = DateTimeTextMaxLength;
            break;
        case SQL_TYPE_TIME:
            column.Kind = Time;
            column.Pattern = &FPatterns[1];
            longest = DateTimeTextMaxLength;
            break;
        case SQL_TIMESTAMP:
            column.Kind = Timestamp;
            column.Pattern = &FPatterns[2];
            longest = DateTimeTextMaxLength;
            break;
        case SQL_OLD_BOOLEAN:
        case SQL_FB_BOOLEAN:
            column.Kind = Boolean;
            longest = 5;
            break;
        default:
            column.Kind = Other;
            break;
        }
        FFixedRoom += longest + 1;
        FColumns.push_back(column);
    }
    FFixedRoom += FEnd.size();
    FLine.resize(FFixedRoom);
}

char* TRowTexts::WriteOther(char* at, const TColumn& column) {
    FOther.clear();
    column.Var->AppendAsString(FOther);
    const size_t offset = static_cast<size_t>(at - FLine.data());
    if (FLine.size() < offset + FOther.size() + FFixedRoom)
        FLine.resize(offset + FOther.size() + FFixedRoom);
    return Copy(FLine.data() + offset, FOther.data(), FOther.size());
}

std::string_view TRowTexts::Line() {
    char* at = FLine.data();
    bool first = true;
    for (const TColumn& column : FColumns) {
        if (!first)
            *at++ = FSeparator;
        first = false;
        if (column.Null && *column.Null == -1)
            continue;
        const char* data = column.Data;
        switch (column.Kind) {
        case Text:
            at = Copy(at, data, static_cast<size_t>(column.Length));
            break;
        case TrimmedText: {
            char* start = at;
            at = TrimEnd(start, Copy(at, data, static_cast<size_t>(column.Length)));
            break;
        }
        case Varying:
        case TrimmedVarying: {
            // A length beyond the buffer cannot come from the server; it is cut there.
            size_t length = ReadValue<uint16_t>(data);
            if (length > static_cast<size_t>(column.Length))
                length = static_cast<size_t>(column.Length);
            char* start = at;
            at = Copy(at, data + 2, length);
            if (column.Kind == TrimmedVarying)
                at = TrimEnd(start, at);
            break;
        }
        case Short:
            at = WriteIntegerText(at, ReadValue<int16_t>(data));
            break;
        case Long:
            at = WriteIntegerText(at, ReadValue<int32_t>(data));
            break;
        case ScaledShort:
            at = WriteFloatText(at, ScaledIntegerValue(ReadValue<int16_t>(data), column.Scale));
            break;
        case ScaledLong:
            at = WriteFloatText(at, ScaledIntegerValue(ReadValue<int32_t>(data), column.Scale));
            break;
        case Int64:
            at = WriteScaledInt64Text(at, ReadValue<int64_t>(data), -column.Scale,
                                      TextFormatSettings.DecimalPoint);
            break;
        case Float:
            at = WriteFloatText(at, ReadValue<float>(data));
            break;
        case Double:
            at = WriteFloatText(at, ReadValue<double>(data));
            break;
        case Date:
            at = column.Pattern->Write(at, ServerDateValue(ReadValue<ISC_DATE>(data)));
            break;
        case Time:
            at = column.Pattern->Write(at, ServerTimeValue(ReadValue<ISC_TIME>(data)));
            break;
        case Timestamp:
            at = column.Pattern->Write(at, ServerTimestampValue(ReadValue<ISC_TIMESTAMP>(data)));
            break;
        case Boolean: {
            const int value =
                column.Length >= 2 ? ReadValue<int16_t>(data) : static_cast<uint8_t>(*data);
            at = value == 1 ? Copy(at, "True", 4) : Copy(at, "False", 5);
            break;
        }
        case Other:
            at = WriteOther(at, column);
            break;
        }
    }
    at = Copy(at, FEnd.data(), FEnd.size());
    return {FLine.data(), static_cast<size_t>(at - FLine.data())};
}

} // namespace gravlink
