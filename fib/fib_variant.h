#pragma once

#include "support/date_time_value.h"
#include "support/exception.h"

#include <cstdint>
#include <string>
#include <variant>

namespace gravlink {

// Kinds of value a variant holds.
enum TVarType { varNull, varInteger, varInt64, varDouble, varDate, varString };

// A conversion a variant cannot make: "Could not convert variant of type (Null) into
// type (String)".
class EVariantTypeCastError : public Exception {
public:
    using Exception::Exception;
};

// The tagged value FieldValue of the data set returns: null, a 32-bit integer, a 64-bit
// integer, a double, a date-time or text.
class TVariant {
public:
    TVariant() = default;
    TVariant(int32_t value) : FValue(value) {}
    TVariant(int64_t value) : FValue(value) {}
    TVariant(double value) : FValue(value) {}
    TVariant(std::string value) : FValue(std::move(value)) {}
    TVariant(const char* value) : FValue(std::string(value)) {}
    static TVariant FromDateTime(TDateTime value) { return TVariant(DateValue{value}); }

    TVarType VarType() const { return static_cast<TVarType>(FValue.index()); }
    bool IsNull() const { return VarType() == varNull; }
    // The name of the kind as conversion failures give it: "Null", "Integer", "Int64",
    // "Double", "Date", "String".
    const char* VarTypeName() const;

    // The value as text: integers as their digits, doubles by FloatText, date-times by
    // DateTimeText. Null fails with EVariantTypeCastError.
    std::string AsString() const;
    // The value of the kind held; any other kind fails with EVariantTypeCastError.
    int32_t AsInteger() const;
    int64_t AsInt64() const;
    double AsDouble() const;
    TDateTime AsDateTime() const;

    bool operator==(const TVariant&) const = default;

private:
    struct DateValue {
        TDateTime Value;
        bool operator==(const DateValue&) const = default;
    };
    explicit TVariant(DateValue value) : FValue(value) {}
    [[noreturn]] void CastFailure(const char* target) const;

    std::variant<std::monostate, int32_t, int64_t, double, DateValue, std::string> FValue;
};

// Text of a variant for messages and tests.
std::string VariantText(const TVariant& value);

} // namespace gravlink
