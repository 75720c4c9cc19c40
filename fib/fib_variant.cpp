#include "fib/fib_variant.h"

#include "fib/fib_error.h"
#include "support/date_time_text.h"
#include "support/number_text.h"

namespace gravlink {

const char* TVariant::VarTypeName() const {
    static const char* const names[] = {"Null", "Integer", "Int64", "Double", "Date", "String"};
    return names[FValue.index()];
}

void TVariant::CastFailure(const char* target) const {
    throw EVariantTypeCastError(FormatText("Could not convert variant of type (%s) into type (%s)",
                                           {std::string(VarTypeName()), std::string(target)}));
}

std::string TVariant::AsString() const {
    std::string text;
    switch (VarType()) {
    case varNull:
        CastFailure("String");
    case varInteger:
        AppendIntegerText(text, std::get<int32_t>(FValue));
        break;
    case varInt64:
        AppendIntegerText(text, std::get<int64_t>(FValue));
        break;
    case varDouble:
        AppendFloatText(text, std::get<double>(FValue));
        break;
    case varDate:
        AppendDateTimeText(text, std::get<DateValue>(FValue).Value);
        break;
    case varString:
        text = std::get<std::string>(FValue);
        break;
    }
    return text;
}

int32_t TVariant::AsInteger() const {
    if (VarType() != varInteger)
        CastFailure("Integer");
    return std::get<int32_t>(FValue);
}

int64_t TVariant::AsInt64() const {
    if (VarType() == varInteger)
        return std::get<int32_t>(FValue);
    if (VarType() != varInt64)
        CastFailure("Int64");
    return std::get<int64_t>(FValue);
}

double TVariant::AsDouble() const {
    if (VarType() != varDouble)
        CastFailure("Double");
    return std::get<double>(FValue);
}

TDateTime TVariant::AsDateTime() const {
    if (VarType() != varDate)
        CastFailure("Date");
    return std::get<DateValue>(FValue).Value;
}

std::string VariantText(const TVariant& value) {
    if (value.IsNull())
        return "Null";
    return std::string(value.VarTypeName()) + " " + value.AsString();
}

} // namespace gravlink
