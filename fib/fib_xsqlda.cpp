#include "fib/fib_xsqlda.h"

#include "fib/fib_database.h"
#include "fib/fib_error.h"
#include "fib/fib_query.h"
#include "fib/fib_transaction.h"
#include "fib/scaled_integer_text.h"
#include "support/date_time_text.h"
#include "support/number_text.h"
#include "support/text_format_settings.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

namespace gravlink {

namespace {

// Days from 17 November 1858 (the server's day 0) to 30 December 1899.
constexpr int ServerDayOffset = 15018;
// Ten-thousandths of a second in a day.
constexpr double TimeUnitsPerDay = 864000000.0;
// BLOBs are read and written in pieces of this size.
constexpr unsigned short BlobSegmentSize = 32768;
// Texts of this length or longer go to a parameter as a BLOB.
constexpr size_t BlobParamThreshold = 32768;

template <class T> T ReadValue(const char* data) {
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

bool IsKnownType(short type) {
    switch (type) {
    case SQL_VARYING:
    case SQL_TEXT:
    case SQL_DOUBLE:
    case SQL_FLOAT:
    case SQL_LONG:
    case SQL_SHORT:
    case SQL_TIMESTAMP:
    case SQL_BLOB:
    case SQL_D_FLOAT:
    case SQL_ARRAY:
    case SQL_QUAD:
    case SQL_TYPE_TIME:
    case SQL_TYPE_DATE:
    case SQL_INT64:
    case SQL_OLD_BOOLEAN:
    case SQL_FB_BOOLEAN:
        return true;
    default:
        return false;
    }
}

bool IsNumericType(short type) {
    return type == SQL_DOUBLE || type == SQL_FLOAT || type == SQL_LONG || type == SQL_SHORT ||
           type == SQL_D_FLOAT || type == SQL_INT64;
}

void TrimEnd(std::string& out, size_t start) {
    size_t end = out.size();
    while (end > start && static_cast<unsigned char>(out[end - 1]) <= 32)
        --end;
    out.resize(end);
}

bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
        return upper(x) == upper(y);
    });
}

void WriteName(char* field, short& length, const std::string& name) {
    const size_t size = std::min<size_t>(name.size(), 31);
    std::memcpy(field, name.data(), size);
    field[size] = '\0';
    length = static_cast<short>(size);
}

long double PowerOfTen(int exponent) {
    long double power = 1.0L;
    for (int i = 0; i < exponent; ++i)
        power *= 10.0L;
    return power;
}

} // namespace

double ScaledIntegerValue(int64_t value, int scale) {
    if (scale == 0)
        return static_cast<double>(value);
    const long double factor = scale < 0 ? 1.0L / PowerOfTen(-scale) : PowerOfTen(scale);
    return static_cast<double>(static_cast<long double>(value) * factor);
}

TDateTime ServerDateValue(ISC_DATE date) {
    return date - ServerDayOffset;
}

TDateTime ServerTimeValue(ISC_TIME time) {
    return time / TimeUnitsPerDay;
}

TDateTime ServerTimestampValue(const ISC_TIMESTAMP& stamp) {
    const double date = stamp.timestamp_date - ServerDayOffset;
    const double time = stamp.timestamp_time / TimeUnitsPerDay;
    // Before 30 December 1899 the time of day is the fraction below the day.
    return date < 0 ? date - time : date + time;
}

// ---- TFIBXSQLDA ----

void TFIBXSQLDA::FreeDescriptor::operator()(XSQLDA* descriptor) const {
    std::free(descriptor);
}

TFIBXSQLDA::TFIBXSQLDA(TFIBQuery& query, bool isParams) : FQuery(&query), FIsParams(isParams) {}

void TFIBXSQLDA::Resize(int count) {
    FVars.clear();
    FDescriptor.reset();
    if (count <= 0)
        return;
    auto* descriptor = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(count)));
    if (!descriptor)
        throw std::bad_alloc();
    descriptor->version = SQLDA_VERSION1;
    descriptor->sqln = static_cast<ISC_SHORT>(count);
    FDescriptor.reset(descriptor);
    FVars.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        FVars.push_back(std::make_unique<TFIBXSQLVAR>(*this, i));
}

void TFIBXSQLDA::SetParamNames(const std::vector<std::string>& names) {
    Resize(static_cast<int>(names.size()));
    if (!FDescriptor)
        return;
    FDescriptor->sqld = FDescriptor->sqln;
    for (size_t i = 0; i < names.size(); ++i) {
        TFIBXSQLVAR& var = *FVars[i];
        var.FName = names[i];
        var.Var().sqltype = 1;
        var.BindBuffers();
    }
}

void TFIBXSQLDA::SetupParams() {
    for (auto& var : FVars)
        var->SetupParam();
}

void TFIBXSQLDA::SetupOutput(int dialect) {
    const int count = FDescriptor ? FDescriptor->sqld : 0;
    if (count < Count())
        FVars.resize(static_cast<size_t>(count));
    std::vector<std::string> aliases;
    aliases.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        aliases.push_back((*this)[i].AliasName());
    std::vector<std::string> names = OutputColumnNames(aliases, dialect == 1);
    for (int i = 0; i < count; ++i) {
        const short type = (*this)[i].SqlType();
        if (!IsKnownType(type))
            RaiseClientError(feUnknownSQLDataType, {static_cast<long long>(type)});
        FVars[static_cast<size_t>(i)]->SetupOutput(std::move(names[static_cast<size_t>(i)]));
    }
}

void TFIBXSQLDA::MarkAllNull() {
    for (auto& var : FVars)
        var->MarkNull();
}

TFIBXSQLVAR* TFIBXSQLDA::ByName(const std::string& name) {
    for (auto& var : FVars)
        if (SameName(var->Name(), name))
            return var.get();
    return nullptr;
}

std::vector<std::string> OutputColumnNames(const std::vector<std::string>& aliases,
                                           bool upperCase) {
    std::vector<std::string> names;
    std::set<std::string> given;
    int unnamed = 0;
    for (std::string name : aliases) {
        if (name.empty())
            name = "F_" + std::to_string(++unnamed);
        if (upperCase)
            for (char& c : name)
                if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 'a' + 'A');
        if (given.count(name)) {
            for (int number = 1;; ++number) {
                std::string numbered = name + std::to_string(number);
                if (!given.count(numbered)) {
                    name = std::move(numbered);
                    break;
                }
            }
        }
        given.insert(name);
        names.push_back(std::move(name));
    }
    return names;
}

// ---- TFIBXSQLVAR ----

TFIBXSQLVAR::TFIBXSQLVAR(TFIBXSQLDA& owner, int index) : FOwner(&owner), FIndex(index) {}

TFIBQuery& TFIBXSQLVAR::Query() const {
    return FOwner->Query();
}
bool TFIBXSQLVAR::IsParam() const {
    return FOwner->IsParams();
}

const XSQLVAR& TFIBXSQLVAR::Var() const {
    return FOwner->FDescriptor->sqlvar[FIndex];
}
XSQLVAR& TFIBXSQLVAR::Var() {
    return FOwner->FDescriptor->sqlvar[FIndex];
}

std::string TFIBXSQLVAR::RelationName() const {
    return std::string(Var().relname,
                       static_cast<size_t>(std::max<short>(Var().relname_length, 0)));
}
std::string TFIBXSQLVAR::ColumnName() const {
    return std::string(Var().sqlname,
                       static_cast<size_t>(std::max<short>(Var().sqlname_length, 0)));
}
std::string TFIBXSQLVAR::OwnerName() const {
    return std::string(Var().ownname,
                       static_cast<size_t>(std::max<short>(Var().ownname_length, 0)));
}
std::string TFIBXSQLVAR::AliasName() const {
    return std::string(Var().aliasname,
                       static_cast<size_t>(std::max<short>(Var().aliasname_length, 0)));
}

void TFIBXSQLVAR::BindBuffers() {
    if (FData.empty())
        FData.resize(1);
    Var().sqldata = FData.data();
    Var().sqlind = &FNullIndicator;
}

void TFIBXSQLVAR::SetupOutput(std::string name) {
    FName = std::move(name);
    XSQLVAR& var = Var();
    WriteName(var.aliasname, var.aliasname_length, FName);
    size_t size = static_cast<size_t>(var.sqllen);
    if (SqlType() == SQL_VARYING)
        size += 2;
    FData.assign(std::max<size_t>(size, 1), '\0');
    FNullIndicator = -1;
    BindBuffers();
}

void TFIBXSQLVAR::SetupParam() {
    XSQLVAR& var = Var();
    FServerType = static_cast<short>(var.sqltype & ~1);
    FServerLength = var.sqllen;
    if (FHoldsBlob) {
        var.sqltype = SQL_BLOB | 1;
        var.sqllen = static_cast<ISC_SHORT>(FData.size());
    } else if (FHoldsText && !(Name() == "DB_KEY" || Name() == "RDB$DB_KEY")) {
        var.sqltype = SQL_TEXT | 1;
        var.sqllen = static_cast<ISC_SHORT>(FData.size());
    } else if (!FHoldsText && !FHoldsBlob) {
        var.sqltype |= 1;
        size_t size = static_cast<size_t>(var.sqllen);
        if (FServerType == SQL_VARYING)
            size += 2;
        FData.assign(std::max<size_t>(size, 1), '\0');
        FNullIndicator = -1;
    }
    BindBuffers();
}

bool TFIBXSQLVAR::IsNull() const {
    if (!FOwner->FDescriptor || SqlType() == 0)
        return true;
    if (!IsParam() && Query().RecordCount() == 0 && Query().SQLType() != SQLExecProcedure)
        return true;
    return Nullable() && FNullIndicator == -1;
}

std::string TFIBXSQLVAR::AsString() const {
    std::string out;
    AppendAsString(out);
    return out;
}

void TFIBXSQLVAR::AppendAsString(std::string& out) const {
    if (IsNull())
        return;
    const XSQLVAR& var = Var();
    const char* data = var.sqldata;
    const size_t start = out.size();
    switch (SqlType()) {
    case SQL_TEXT:
        out.append(data, static_cast<size_t>(var.sqllen));
        if (Query().HasOption(qoTrimCharFields))
            TrimEnd(out, start);
        break;
    case SQL_VARYING:
        out.append(data + 2, static_cast<size_t>(ReadValue<uint16_t>(data)));
        if (Query().HasOption(qoTrimCharFields))
            TrimEnd(out, start);
        break;
    case SQL_SHORT:
    case SQL_LONG:
        if (var.sqlscale == 0)
            AppendIntegerText(out, AsInt64());
        else
            AppendFloatText(out, AsDouble());
        break;
    case SQL_INT64:
        AppendScaledInt64Text(out, AsInt64(), -var.sqlscale, TextFormatSettings.DecimalPoint);
        break;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        AppendFloatText(out, AsDouble());
        break;
    case SQL_TYPE_DATE:
        AppendDateText(out, AsDateTime());
        break;
    case SQL_TYPE_TIME:
        AppendTimeText(out, AsDateTime());
        break;
    case SQL_TIMESTAMP:
        AppendDateTimeText(out, AsDateTime());
        break;
    case SQL_OLD_BOOLEAN:
    case SQL_FB_BOOLEAN: {
        const int value = var.sqllen >= 2 ? ReadValue<int16_t>(data) : static_cast<uint8_t>(*data);
        out += value == 1 ? "True" : "False";
        break;
    }
    case SQL_BLOB:
        if (IsParam())
            out += "(BLOB)";
        else
            AppendBlobText(out);
        break;
    case SQL_ARRAY:
        out += "(ARRAY)";
        break;
    default:
        RaiseClientError(feInvalidDataConversion);
    }
}

int64_t TFIBXSQLVAR::AsInt64() const {
    if (IsNull())
        return 0;
    const char* data = Var().sqldata;
    switch (SqlType()) {
    case SQL_SHORT:
        return ReadValue<int16_t>(data);
    case SQL_LONG:
        return ReadValue<int32_t>(data);
    case SQL_INT64:
        return ReadValue<int64_t>(data);
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return static_cast<int64_t>(AsDouble());
    default:
        RaiseClientError(feInvalidDataConversion);
    }
}

double TFIBXSQLVAR::AsDouble() const {
    if (IsNull())
        return 0;
    const char* data = Var().sqldata;
    switch (SqlType()) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return ScaledIntegerValue(AsInt64(), SqlScale());
    case SQL_FLOAT:
        return ReadValue<float>(data);
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return ReadValue<double>(data);
    default:
        RaiseClientError(feInvalidDataConversion);
    }
}

TDateTime TFIBXSQLVAR::AsDateTime() const {
    if (IsNull())
        return 0;
    const char* data = Var().sqldata;
    switch (SqlType()) {
    case SQL_TYPE_DATE:
        return ServerDateValue(ReadValue<ISC_DATE>(data));
    case SQL_TYPE_TIME:
        return ServerTimeValue(ReadValue<ISC_TIME>(data));
    case SQL_TIMESTAMP:
        return ServerTimestampValue(ReadValue<ISC_TIMESTAMP>(data));
    default:
        RaiseClientError(feInvalidDataConversion);
    }
}

// The whole BLOB in the statement's transaction; whatever goes wrong, "(BLOB)".
void TFIBXSQLVAR::AppendBlobText(std::string& out) const {
    const size_t start = out.size();
    TFIBQuery& query = Query();
    TFIBDatabase* database = query.Database();
    TFIBTransaction* transaction = query.Transaction();
    bool read = false;
    try {
        if (query.HasOption(qoStartTransaction) && transaction && !transaction->Active())
            transaction->StartTransaction();
        if (database && transaction && database->ClientLibrary()) {
            const IIBClientLibrary& library = *database->ClientLibrary();
            ISC_QUAD id = ReadValue<ISC_QUAD>(Var().sqldata);
            isc_blob_handle blob = 0;
            if (library.isc_open_blob2(StatusVector(), database->Handle(), transaction->Handle(),
                                       &blob, &id, 0, nullptr) == 0) {
                char segment[BlobSegmentSize];
                for (;;) {
                    unsigned short length = 0;
                    const ISC_STATUS result = library.isc_get_segment(
                        StatusVector(), &blob, &length, BlobSegmentSize, segment);
                    if (result != 0 && result != isc_segment) {
                        read = result == isc_segstr_eof;
                        break;
                    }
                    out.append(segment, length);
                }
                if (library.isc_close_blob(StatusVector(), &blob) != 0)
                    read = false;
            }
        }
    } catch (const std::exception&) {
        read = false;
    }
    if (!read) {
        out.resize(start);
        out += "(BLOB)";
    }
}

void TFIBXSQLVAR::WriteBlob(const std::string& text) {
    TFIBQuery& query = Query();
    TFIBDatabase* database = query.Database();
    TFIBTransaction* transaction = query.Transaction();
    if (!database)
        RaiseClientError(feDatabaseNotAssigned, {FullName(&query)});
    if (!transaction)
        RaiseClientError(feTransactionNotAssigned, {FullName(&query)});
    const IIBClientLibrary& library = query.ClientLibrary();
    ISC_QUAD id{};
    isc_blob_handle blob = 0;
    transaction->Call(library.isc_create_blob2(StatusVector(), database->Handle(),
                                               transaction->Handle(), &blob, &id, 0, nullptr),
                      true, &query);
    try {
        for (size_t offset = 0; offset < text.size(); offset += BlobSegmentSize) {
            const auto length = static_cast<unsigned short>(
                std::min<size_t>(BlobSegmentSize, text.size() - offset));
            transaction->Call(
                library.isc_put_segment(StatusVector(), &blob, length, text.data() + offset), true,
                &query);
        }
    } catch (...) {
        library.isc_close_blob(StatusVector(), &blob);
        throw;
    }
    transaction->Call(library.isc_close_blob(StatusVector(), &blob), true, &query);
    XSQLVAR& var = Var();
    var.sqltype = SQL_BLOB | 1;
    var.sqllen = sizeof id;
    FData.assign(reinterpret_cast<const char*>(&id),
                 reinterpret_cast<const char*>(&id) + sizeof id);
    FHoldsText = false;
    FHoldsBlob = true;
    FNullIndicator = 0;
    BindBuffers();
}

void TFIBXSQLVAR::SetAsString(const std::string& text) {
    if (!FOwner->FDescriptor)
        RaiseClientError(feXSQLDAIndexOutOfRange);
    FChanged = true;
    if (text.size() >= BlobParamThreshold || FServerType == SQL_BLOB) {
        WriteBlob(text);
        return;
    }
    std::string value = text;
    if (IsNumericType(FServerType)) {
        const char point = TextFormatSettings.DecimalPoint;
        for (char& c : value)
            if (c == ',' || (point != '\0' && c == point))
                c = '.';
    }
    XSQLVAR& var = Var();
    if (FServerType != 0 && (Name() == "DB_KEY" || Name() == "RDB$DB_KEY")) {
        value.resize(static_cast<size_t>(FServerLength), '\0');
        var.sqltype = static_cast<ISC_SHORT>(FServerType | 1);
        var.sqllen = FServerLength;
    } else {
        var.sqltype = SQL_TEXT | 1;
        var.sqllen = static_cast<ISC_SHORT>(value.size());
    }
    FData.assign(value.begin(), value.end());
    FHoldsText = true;
    FHoldsBlob = false;
    FNullIndicator = 0;
    BindBuffers();
}

void TFIBXSQLVAR::Clear() {
    FChanged = true;
    FHoldsText = false;
    FHoldsBlob = false;
    FNullIndicator = -1;
    if (FOwner->FDescriptor && FServerType != 0) {
        XSQLVAR& var = Var();
        var.sqltype = static_cast<ISC_SHORT>(FServerType | 1);
        var.sqllen = FServerLength;
        size_t size = static_cast<size_t>(FServerLength) + (FServerType == SQL_VARYING ? 2 : 0);
        FData.assign(std::max<size_t>(size, 1), '\0');
        BindBuffers();
    }
}

} // namespace gravlink
