#pragma once

#include "fib/default_formats.h"
#include "fib/fib_variant.h"
#include "support/date_time_value.h"

#include <cstdint>
#include <ibase.h>
#include <memory>
#include <string>
#include <variant>

namespace gravlink {

// What a field holds, one per column of a cached row: null; the trimmed bytes of a
// string; a 32-bit integer (SMALLINT, INTEGER, booleans); the exact 64-bit integer of a
// BIGINT, whose scale is the field's Size; a double (scaled small integers, floats) or a
// date-time; the id of a BLOB or an array.
using TFieldData = std::variant<std::monostate, std::string, int32_t, int64_t, double, ISC_QUAD>;

enum TFieldType {
    ftString,
    ftSmallint,
    ftInteger,
    ftBoolean,
    ftFloat,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftMemo,
    ftBlob,
    ftArray,
};

// One output column of the select as the data set describes it before its fields exist.
struct TFieldDef {
    std::string Name; // the statement's output name (duplicates numbered)
    TFieldType DataType = ftString;
    int Size = 0;      // declared length of strings, -scale of BCD, 8 for BLOB and array
    short SqlType = 0; // the column's type code without the null bit
    short SqlScale = 0;
    short SqlSubType = 0;
    bool Required = false; // not nullable
    std::string RelationName;
    std::string SqlName;    // the column of the relation, when it is one
    std::string DomainName; // from the system tables, when they were read
    std::string DefaultValue;
};

// What a field reads its value from: the data set's current row.
class IFieldDataSource {
public:
    // The data of field `index` in the current row; null when there is no current row.
    virtual const TFieldData* ActiveFieldData(int index) const = 0;

protected:
    ~IFieldDataSource() = default;
};

// One column of the data set: name, label, width, display pattern and the value of the
// current row.
class TField {
public:
    TField(const TFieldDef& def, int index);
    virtual ~TField() = default;
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    const std::string& FieldName() const { return FName; }
    TFieldType DataType() const { return FDataType; }
    int Size() const { return FSize; }
    // Position among the data set's fields, 0 first.
    int Index() const { return FIndex; }
    bool Required() const { return FRequired; }
    const std::string& DefaultExpression() const { return FDefaultExpression; }

    // The column title of a grid: the name unless set otherwise.
    const std::string& DisplayLabel() const { return FDisplayLabel; }
    void SetDisplayLabel(std::string label) { FDisplayLabel = std::move(label); }
    // Width of a grid column in characters.
    int DisplayWidth() const { return FDisplayWidth; }
    void SetDisplayWidth(int width) { FDisplayWidth = width; }
    // Numeric or date-time display pattern; empty for none.
    const std::string& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(std::string pattern) { FDisplayFormat = std::move(pattern); }
    const std::string& EditFormat() const { return FEditFormat; }
    void SetEditFormat(std::string pattern) { FEditFormat = std::move(pattern); }

    // Gives the pattern of the table of defaults when the field has none.
    virtual void ApplyDefaultFormats(const TDefaultFormats&) {}

    void Bind(const IFieldDataSource* source) { FSource = source; }
    // The value of the current row; null without a row or source.
    const TFieldData& Data() const;
    bool IsNull() const { return std::holds_alternative<std::monostate>(Data()); }
    TVariant AsVariant() const { return VariantOf(Data()); }
    // What a grid shows: the value by the display pattern; empty for null.
    std::string DisplayText() const { return DisplayTextOf(Data()); }
    // The same for data of any cached row, so a grid need not move the cursor.
    TVariant VariantOf(const TFieldData& data) const;
    std::string DisplayTextOf(const TFieldData& data) const;

protected:
    // Both are called with data that is not null.
    virtual TVariant Variant(const TFieldData& data) const = 0;
    virtual std::string Text(const TFieldData& data) const = 0;

private:
    std::string FName;
    TFieldType FDataType;
    int FSize;
    int FIndex;
    bool FRequired;
    std::string FDefaultExpression;
    std::string FDisplayLabel;
    int FDisplayWidth;
    std::string FDisplayFormat;
    std::string FEditFormat;
    const IFieldDataSource* FSource = nullptr;
};

// CHAR and VARCHAR.
class TFIBstringField : public TField {
public:
    using TField::TField;

protected:
    TVariant Variant(const TFieldData& data) const override;
    std::string Text(const TFieldData& data) const override;
};

// SMALLINT and INTEGER of scale 0: IntegerText, or the display pattern.
class TFIBIntegerField : public TField {
public:
    using TField::TField;

protected:
    TVariant Variant(const TFieldData& data) const override;
    std::string Text(const TFieldData& data) const override;
};

class TFIBSmallIntField : public TFIBIntegerField {
public:
    using TFIBIntegerField::TFIBIntegerField;
};

// A 1 is "True", anything else "False".
class TFIBBooleanField : public TField {
public:
    using TField::TField;

protected:
    TVariant Variant(const TFieldData& data) const override;
    std::string Text(const TFieldData& data) const override;
};

// Floating values and scaled small integers: FloatText, or the display pattern.
class TFIBFloatField : public TField {
public:
    TFIBFloatField(const TFieldDef& def, int index);
    void ApplyDefaultFormats(const TDefaultFormats& formats) override;

protected:
    TVariant Variant(const TFieldData& data) const override;
    std::string Text(const TFieldData& data) const override;

private:
    int FDecimals; // -scale of a scaled integer column, 0 for floats
};

// BIGINT of any scale, the exact integer with Size decimals.
class TFIBBCDField : public TField {
public:
    using TField::TField;
    void ApplyDefaultFormats(const TDefaultFormats& formats) override;

protected:
    TVariant Variant(const TFieldData& data) const override;
    std::string Text(const TFieldData& data) const override;
};

// DATE, TIME and TIMESTAMP: the date-time by the display pattern; without one by
// DateText, TimeText or DateTimeText.
class TFIBDateTimeField : public TField {
public:
    using TField::TField;
    void ApplyDefaultFormats(const TDefaultFormats& formats) override;

protected:
    TVariant Variant(const TFieldData& data) const override;
    std::string Text(const TFieldData& data) const override;
};

class TFIBDateField : public TFIBDateTimeField {
public:
    using TFIBDateTimeField::TFIBDateTimeField;
    void ApplyDefaultFormats(const TDefaultFormats& formats) override;
};

class TFIBTimeField : public TFIBDateTimeField {
public:
    using TFIBDateTimeField::TFIBDateTimeField;
    void ApplyDefaultFormats(const TDefaultFormats& formats) override;
};

// BLOB, text BLOB and array columns hold only their id; a grid shows "(BLOB)", "(MEMO)"
// or "(ARRAY)" and their value is null.
class TFIBBlobField : public TField {
public:
    using TField::TField;

protected:
    TVariant Variant(const TFieldData&) const override { return {}; }
    std::string Text(const TFieldData&) const override { return "(BLOB)"; }
};

class TMemoField : public TFIBBlobField {
public:
    using TFIBBlobField::TFIBBlobField;

protected:
    std::string Text(const TFieldData&) const override { return "(MEMO)"; }
};

class TFIBArrayField : public TField {
public:
    using TField::TField;

protected:
    TVariant Variant(const TFieldData&) const override { return {}; }
    std::string Text(const TFieldData&) const override { return "(ARRAY)"; }
};

// The field definition of one output column, or false for a column no field shows
// (D_FLOAT, QUAD). booleanDomain tells that the column's domain name contains "BOOLEAN";
// without int64ToBCD a BIGINT of a scale below -4 becomes a float field.
bool FieldDefOfColumn(const XSQLVAR& column, const std::string& name, bool booleanDomain,
                      TFieldDef& def, bool int64ToBCD = true);

// True when the domain name contains "BOOLEAN", ASCII letters compared without case.
bool IsBooleanDomain(const std::string& domainName);

// The field class of the definition's type.
std::unique_ptr<TField> CreateField(const TFieldDef& def, int index);

} // namespace gravlink
