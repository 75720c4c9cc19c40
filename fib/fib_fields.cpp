#include "fib/fib_fields.h"

#include "fib/fib_xsqlda.h"
#include "support/date_time_text.h"
#include "support/format_float_text.h"
#include "support/number_text.h"

namespace gravlink {

namespace {

int DefaultDisplayWidth(const TFieldDef& def) {
    switch (def.DataType) {
    case ftString:
        return def.Size;
    case ftSmallint:
        return 6;
    case ftInteger:
        return 11;
    case ftBoolean:
        return 5;
    case ftBCD:
        return 20;
    case ftDateTime:
        return 18;
    default:
        return 10;
    }
}

std::string TrimBoth(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

TField::TField(const TFieldDef& def, int index)
    : FName(def.Name), FDataType(def.DataType), FSize(def.Size), FIndex(index),
      FRequired(def.Required), FDefaultExpression(def.DefaultValue), FDisplayLabel(def.Name),
      FDisplayWidth(DefaultDisplayWidth(def)) {}

const TFieldData& TField::Data() const {
    static const TFieldData null;
    if (!FSource)
        return null;
    const TFieldData* data = FSource->ActiveFieldData(FIndex);
    return data ? *data : null;
}

TVariant TField::VariantOf(const TFieldData& data) const {
    return std::holds_alternative<std::monostate>(data) ? TVariant() : Variant(data);
}

std::string TField::DisplayTextOf(const TFieldData& data) const {
    return std::holds_alternative<std::monostate>(data) ? std::string() : Text(data);
}

TVariant TFIBstringField::Variant(const TFieldData& data) const {
    return TVariant(std::get<std::string>(data));
}

std::string TFIBstringField::Text(const TFieldData& data) const {
    return std::get<std::string>(data);
}

TVariant TFIBIntegerField::Variant(const TFieldData& data) const {
    return TVariant(std::get<int32_t>(data));
}

std::string TFIBIntegerField::Text(const TFieldData& data) const {
    const int32_t value = std::get<int32_t>(data);
    return DisplayFormat().empty() ? IntegerText(value) : FormatFloatText(DisplayFormat(), value);
}

TVariant TFIBBooleanField::Variant(const TFieldData& data) const {
    return TVariant(std::get<int32_t>(data));
}

std::string TFIBBooleanField::Text(const TFieldData& data) const {
    return std::get<int32_t>(data) == 1 ? "True" : "False";
}

TFIBFloatField::TFIBFloatField(const TFieldDef& def, int index)
    : TField(def, index),
      FDecimals(def.SqlType == SQL_FLOAT || def.SqlType == SQL_DOUBLE ? 0 : -def.SqlScale) {}

void TFIBFloatField::ApplyDefaultFormats(const TDefaultFormats& formats) {
    if (FDecimals <= 0 || !DisplayFormat().empty())
        return;
    SetDisplayFormat(WidenNumericPattern(formats.NumericDisplayFormat, FDecimals));
    if (EditFormat().empty())
        SetEditFormat(WidenNumericPattern(formats.NumericEditFormat, FDecimals));
}

TVariant TFIBFloatField::Variant(const TFieldData& data) const {
    return TVariant(std::get<double>(data));
}

std::string TFIBFloatField::Text(const TFieldData& data) const {
    const double value = std::get<double>(data);
    return DisplayFormat().empty() ? TrimBoth(FloatText(value))
                                   : FormatFloatText(DisplayFormat(), value);
}

void TFIBBCDField::ApplyDefaultFormats(const TDefaultFormats& formats) {
    if (Size() <= 0 || !DisplayFormat().empty())
        return;
    SetDisplayFormat(WidenNumericPattern(formats.NumericDisplayFormat, Size()));
    if (EditFormat().empty())
        SetEditFormat(WidenNumericPattern(formats.NumericEditFormat, Size()));
}

TVariant TFIBBCDField::Variant(const TFieldData& data) const {
    const int64_t value = std::get<int64_t>(data);
    if (Size() == 0)
        return TVariant(value);
    long double scale = 1;
    for (int i = 0; i < Size(); ++i)
        scale *= 10;
    return TVariant(static_cast<double>(value / scale));
}

std::string TFIBBCDField::Text(const TFieldData& data) const {
    return FormatScaledText(DisplayFormat(), std::get<int64_t>(data), Size());
}

void TFIBDateTimeField::ApplyDefaultFormats(const TDefaultFormats& formats) {
    if (DisplayFormat().empty())
        SetDisplayFormat(formats.DateTimeDisplayFormat);
}

void TFIBDateField::ApplyDefaultFormats(const TDefaultFormats& formats) {
    if (DisplayFormat().empty())
        SetDisplayFormat(formats.DisplayFormatDate);
}

void TFIBTimeField::ApplyDefaultFormats(const TDefaultFormats& formats) {
    if (DisplayFormat().empty())
        SetDisplayFormat(formats.DisplayFormatTime);
}

TVariant TFIBDateTimeField::Variant(const TFieldData& data) const {
    return TVariant::FromDateTime(std::get<double>(data));
}

std::string TFIBDateTimeField::Text(const TFieldData& data) const {
    const TDateTime value = std::get<double>(data);
    if (!DisplayFormat().empty())
        return FormatDateTimeText(DisplayFormat(), value);
    switch (DataType()) {
    case ftDate:
        return DateText(value);
    case ftTime:
        return TimeText(value);
    default:
        return DateTimeText(value);
    }
}

bool IsBooleanDomain(const std::string& domainName) {
    static const std::string word = "BOOLEAN";
    for (size_t start = 0; start + word.size() <= domainName.size(); ++start) {
        size_t k = 0;
        while (k < word.size()) {
            char c = domainName[start + k];
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            if (c != word[k])
                break;
            ++k;
        }
        if (k == word.size())
            return true;
    }
    return false;
}

bool FieldDefOfColumn(const XSQLVAR& column, const std::string& name, bool booleanDomain,
                      TFieldDef& def, bool int64ToBCD) {
    def = TFieldDef{};
    def.Name = name;
    def.SqlType = static_cast<short>(column.sqltype & ~1);
    def.SqlScale = column.sqlscale;
    def.SqlSubType = column.sqlsubtype;
    def.Required = (column.sqltype & 1) == 0;
    def.RelationName.assign(column.relname, column.relname_length);
    def.SqlName.assign(column.sqlname, column.sqlname_length);
    switch (def.SqlType) {
    case SQL_TEXT:
    case SQL_VARYING:
        def.DataType = ftString;
        def.Size = column.sqllen;
        break;
    case SQL_SHORT:
    case SQL_LONG:
        if (column.sqlscale < 0)
            def.DataType = ftFloat;
        else if (booleanDomain)
            def.DataType = ftBoolean;
        else
            def.DataType = def.SqlType == SQL_SHORT ? ftSmallint : ftInteger;
        break;
    case SQL_FLOAT:
    case SQL_DOUBLE:
        def.DataType = ftFloat;
        break;
    case SQL_INT64:
        if (!int64ToBCD && column.sqlscale < -4) {
            def.DataType = ftFloat;
            break;
        }
        def.DataType = ftBCD;
        def.Size = column.sqlscale < 0 ? -column.sqlscale : 0;
        break;
    case SQL_TYPE_DATE:
        def.DataType = ftDate;
        break;
    case SQL_TYPE_TIME:
        def.DataType = ftTime;
        break;
    case SQL_TIMESTAMP:
        def.DataType = ftDateTime;
        break;
    case SQL_BLOB:
        def.DataType = column.sqlsubtype == 1 ? ftMemo : ftBlob;
        def.Size = 8;
        break;
    case SQL_ARRAY:
        def.DataType = ftArray;
        def.Size = 8;
        break;
    case SQL_OLD_BOOLEAN:
    case SQL_FB_BOOLEAN:
        def.DataType = ftBoolean;
        break;
    default:
        return false;
    }
    return true;
}

std::unique_ptr<TField> CreateField(const TFieldDef& def, int index) {
    switch (def.DataType) {
    case ftString:
        return std::make_unique<TFIBstringField>(def, index);
    case ftSmallint:
        return std::make_unique<TFIBSmallIntField>(def, index);
    case ftInteger:
        return std::make_unique<TFIBIntegerField>(def, index);
    case ftBoolean:
        return std::make_unique<TFIBBooleanField>(def, index);
    case ftFloat:
        return std::make_unique<TFIBFloatField>(def, index);
    case ftBCD:
        return std::make_unique<TFIBBCDField>(def, index);
    case ftDate:
        return std::make_unique<TFIBDateField>(def, index);
    case ftTime:
        return std::make_unique<TFIBTimeField>(def, index);
    case ftDateTime:
        return std::make_unique<TFIBDateTimeField>(def, index);
    case ftMemo:
        return std::make_unique<TMemoField>(def, index);
    case ftBlob:
        return std::make_unique<TFIBBlobField>(def, index);
    case ftArray:
        return std::make_unique<TFIBArrayField>(def, index);
    }
    return nullptr;
}

} // namespace gravlink
