#include "fib/fib_dataset.h"

#include "fib/fib_database.h"
#include "fib/fib_error.h"
#include "fib/fib_transaction.h"
#include "fib/fib_xsqlda.h"

#include <cstring>

namespace gravlink {

namespace {

// Column descriptions of one table: domain and default of each column.
const char* const RelationInfoSQL =
    "select RF.RDB$FIELD_NAME, RF.RDB$FIELD_SOURCE, "
    "coalesce(RF.RDB$DEFAULT_SOURCE, F.RDB$DEFAULT_SOURCE) "
    "from RDB$RELATION_FIELDS RF join RDB$FIELDS F on F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
    "where RF.RDB$RELATION_NAME = :RN";

template <class T> T ReadValue(const char* data) {
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

constexpr int ServerDayOffset = 15018;
constexpr double TimeUnitsPerDay = 864000000.0;

// A server time of day cut to whole milliseconds, as a fraction of a day.
double TimeToMilliseconds(ISC_TIME time) {
    return (time - time % 10) / TimeUnitsPerDay;
}

bool IsBlank(const std::string& text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > 32)
            return false;
    return true;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

TFIBCustomDataSet::TFIBCustomDataSet(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)), FSelectQuery(this, "SelectQuery") {
    FSelectQuery.SetGoToFirstRecordOnExecute(false);
    FSelectQuery.SetFetchObserver([this](int) {
        ++FFetchCount;
        return false;
    });
}

TFIBCustomDataSet::~TFIBCustomDataSet() {
    try {
        Close();
    } catch (const std::exception&) {
    }
    SetTransaction(nullptr);
    SetDatabase(nullptr);
}

void TFIBCustomDataSet::SetDatabase(TFIBDatabase* database) {
    if (database == FDatabase)
        return;
    Close();
    if (FDatabase)
        FDatabase->RemoveSQLObject(this);
    FDatabase = database;
    if (FDatabase)
        FDatabase->AddSQLObject(this);
    FSelectQuery.SetDatabase(database);
    FPrepared = false;
}

void TFIBCustomDataSet::SetTransaction(TFIBTransaction* transaction) {
    if (transaction == FTransaction)
        return;
    Close();
    if (FTransaction)
        FTransaction->RemoveSQLObject(this);
    FTransaction = transaction;
    if (FTransaction)
        FTransaction->AddSQLObject(this);
    FSelectQuery.SetTransaction(transaction);
}

void TFIBCustomDataSet::SetSelectSQL(const std::string& text) {
    if (FActive)
        RaiseClientError(feDatasetOpen, {std::string("change sql text"), FullName(&FSelectQuery)});
    FSelectQuery.SetSQL(text);
    FPrepared = false;
    FFieldDefs.clear();
    FDefColumns.clear();
    FRelations.clear();
}

void TFIBCustomDataSet::SetPrepareOptions(TpPrepareOptions options) {
    if (options == FPrepareOptions)
        return;
    FPrepareOptions = options;
    FPrepared = false;
}

void TFIBCustomDataSet::SetActive(bool active) {
    if (active)
        Open();
    else
        Close();
}

void TFIBCustomDataSet::ResolveConnection() {
    if (!FDatabase && FTransaction)
        SetDatabase(FTransaction->DefaultDatabase());
    if (!FTransaction && FDatabase)
        SetTransaction(FDatabase->DefaultTransaction());
    if (FSelectQuery.Database() != FDatabase)
        FSelectQuery.SetDatabase(FDatabase);
    if (FSelectQuery.Transaction() != FTransaction)
        FSelectQuery.SetTransaction(FTransaction);
    if (FTransaction && !FTransaction->Active()) {
        if (!FTransaction->DefaultDatabase() && FDatabase)
            FTransaction->SetDefaultDatabase(FDatabase);
        if (FOptions & poStartTransaction)
            FTransaction->StartTransaction();
    }
}

void TFIBCustomDataSet::Prepare() {
    if (!FDatabase)
        RaiseClientError(feDatabaseNotAssigned, {FullName(this)});
    FDatabase->CheckActive();
    if (!FTransaction)
        RaiseClientError(feTransactionNotAssigned, {FullName(this)});
    FTransaction->CheckInTransaction();
    if (Prepared())
        return;
    if (IsBlank(FSelectQuery.SQL()))
        RaiseClientError(feEmptyQuery, {"Prepare " + FullName(this)});
    FSelectQuery.Prepare();
    BuildFieldDefs();
    FPrepared = true;
}

const TFIBCustomDataSet::TRelationInfo&
TFIBCustomDataSet::RelationInfo(const std::string& relation) {
    auto known = FRelations.find(relation);
    if (known != FRelations.end())
        return known->second;
    TRelationInfo& info = FRelations[relation];
    TFIBQuery lookup;
    lookup.SetDatabase(FDatabase);
    lookup.SetTransaction(FTransaction);
    lookup.SetOptions(qoTrimCharFields);
    lookup.SetSQL(RelationInfoSQL);
    lookup.Params(0).SetAsString(relation);
    lookup.ExecQuery();
    while (!lookup.Eof()) {
        TColumnInfo& column = info[lookup.Fields(0).AsString()];
        column.DomainName = lookup.Fields(1).AsString();
        column.DefaultSource = lookup.Fields(2).AsString();
        lookup.Next();
    }
    lookup.Close();
    return info;
}

void TFIBCustomDataSet::BuildFieldDefs() {
    FFieldDefs.clear();
    FDefColumns.clear();
    const bool readSystemTables = (FPrepareOptions & (psUseBooleanField | pfImportDefaultValues));
    for (int i = 0; i < FSelectQuery.FieldCount(); ++i) {
        const TFIBXSQLVAR& column = FSelectQuery.Fields(i);
        const TColumnInfo* info = nullptr;
        const std::string relation = column.RelationName();
        const std::string columnName = column.ColumnName();
        if (readSystemTables && !relation.empty() && !columnName.empty()) {
            const TRelationInfo& columns = RelationInfo(relation);
            auto found = columns.find(columnName);
            if (found != columns.end())
                info = &found->second;
        }
        const bool booleanDomain =
            (FPrepareOptions & psUseBooleanField) && info && IsBooleanDomain(info->DomainName);
        TFieldDef def;
        if (!FieldDefOfColumn(column.Var(), column.Name(), booleanDomain, def,
                              (FPrepareOptions & psSQLINT64ToBCD) != 0))
            continue;
        if (info) {
            def.DomainName = info->DomainName;
            if (FPrepareOptions & pfImportDefaultValues)
                def.DefaultValue = info->DefaultSource;
        }
        FFieldDefs.push_back(std::move(def));
        FDefColumns.push_back(i);
    }
}

void TFIBCustomDataSet::BuildLayout() {
    using TKind = TRecordLayout::TKind;
    std::vector<TKind> kinds;
    kinds.reserve(FFieldDefs.size());
    for (const TFieldDef& def : FFieldDefs) {
        switch (def.SqlType) {
        case SQL_TEXT:
        case SQL_VARYING:
            kinds.push_back(TKind::Text);
            break;
        case SQL_SHORT:
        case SQL_LONG:
            kinds.push_back(def.SqlScale == 0 ? TKind::Int32 : TKind::Double);
            break;
        case SQL_INT64:
            kinds.push_back(def.DataType == ftBCD ? TKind::Int64 : TKind::Double);
            break;
        case SQL_BLOB:
        case SQL_ARRAY:
            kinds.push_back(TKind::Quad);
            break;
        case SQL_OLD_BOOLEAN:
        case SQL_FB_BOOLEAN:
            kinds.push_back(TKind::Int32);
            break;
        default: // floats, dates and times; a type without a value stays null
            kinds.push_back(TKind::Double);
            break;
        }
    }
    FLayout = TRecordLayout(std::move(kinds));
}

void TFIBCustomDataSet::CreateFields() {
    BuildLayout();
    FFields.clear();
    for (size_t i = 0; i < FFieldDefs.size(); ++i) {
        FFields.push_back(CreateField(FFieldDefs[i], static_cast<int>(i)));
        FFields.back()->Bind(this);
    }
}

void TFIBCustomDataSet::DestroyFields() {
    FFields.clear();
}

void TFIBCustomDataSet::Open() {
    if (FActive)
        return;
    ResolveConnection();
    Prepare();
    FFetchCount = 0;
    FAllFetched = false;
    FCurrent = -1;
    FCurrentDataRow = -1;
    FBof = true;
    FEof = true;
    try {
        if (FSelectQuery.SQLType() == SQLSelect || FSelectQuery.SQLType() == SQLSelectForUpdate) {
            CreateFields();
            FSelectQuery.ExecQuery();
        } else {
            FAllFetched = true;
        }
        if (FOptions & poAutoFormatFields)
            for (auto& field : FFields)
                field->ApplyDefaultFormats(FDefaultFormats);
        FActive = true;
        // The first row, so the data set knows whether it has one.
        if (FetchNext())
            SetCurrent(0);
    } catch (...) {
        FActive = false;
        try {
            FSelectQuery.Close();
        } catch (const std::exception&) {
        }
        FCache.Clear();
        FCurrentDataRow = -1;
        DestroyFields();
        throw;
    }
    FEof = FCache.Count() == 0;
    Notify(deOpened);
}

void TFIBCustomDataSet::Close() {
    if (!FActive)
        return;
    Notify(deClosing);
    FActive = false;
    FCurrent = -1;
    FBof = true;
    FEof = true;
    struct CleanUp {
        TFIBCustomDataSet& DataSet;
        ~CleanUp() {
            DataSet.FCache.Clear();
            DataSet.FCurrentDataRow = -1;
            DataSet.DestroyFields();
            DataSet.Notify(deClosed);
        }
    } cleanUp{*this};
    FSelectQuery.Close();
}

TField* TFIBCustomDataSet::FindField(const std::string& name) const {
    for (const auto& field : FFields)
        if (SameName(field->FieldName(), name))
            return field.get();
    return nullptr;
}

TField& TFIBCustomDataSet::FieldByName(const std::string& name) const {
    TField* field = FindField(name);
    if (!field)
        throw EDatabaseError(Name() + ": " + FormatText("Field '%s' not found", {name}));
    return *field;
}

TVariant TFIBCustomDataSet::FieldValue(const std::string& name) const {
    return FieldByName(name).AsVariant();
}

const TFieldData* TFIBCustomDataSet::ActiveFieldData(int index) const {
    if (!FActive || FCurrent < 0 || static_cast<size_t>(FCurrent) >= FCache.Count())
        return nullptr;
    if (index < 0 || static_cast<size_t>(index) >= FLayout.FieldCount())
        return nullptr;
    if (FCurrentDataRow != FCurrent) {
        const char* row = FCache[static_cast<size_t>(FCurrent)];
        FCurrentData.resize(FLayout.FieldCount());
        for (size_t field = 0; field < FCurrentData.size(); ++field)
            FCurrentData[field] = FLayout.Read(row, field);
        FCurrentDataRow = FCurrent;
    }
    return &FCurrentData[static_cast<size_t>(index)];
}

TFieldData TFIBCustomDataSet::FieldDataAt(int row, int field) const {
    return FLayout.Read(FCache[static_cast<size_t>(row)], static_cast<size_t>(field));
}

std::string TFIBCustomDataSet::DisplayTextAt(int row, int field) const {
    return Fields(field).DisplayTextOf(FieldDataAt(row, field));
}

bool TFIBCustomDataSet::FetchNext() {
    if (!FActive || FAllFetched)
        return false;
    TFIBXSQLDA* row = FSelectQuery.Next();
    if (!row) {
        FAllFetched = true;
        return false;
    }
    // A row that fails half-way is never cached.
    EncodeRow(*row, FRowBytes);
    FCache.Append(FRowBytes);
    Notify(deRowsFetched);
    return true;
}

void TFIBCustomDataSet::EncodeRow(TFIBXSQLDA& row, std::string& bytes) {
    FLayout.Begin(bytes);
    for (size_t i = 0; i < FFieldDefs.size(); ++i) {
        const TFieldDef& def = FFieldDefs[i];
        const TFIBXSQLVAR& column = row[FDefColumns[i]];
        if (column.IsNull()) {
            TRecordLayout::SetNull(bytes, i);
            continue;
        }
        const char* data = column.Var().sqldata;
        switch (def.SqlType) {
        case SQL_TEXT:
        case SQL_VARYING: {
            const size_t place = TRecordLayout::BeginText(bytes);
            column.AppendAsString(bytes);
            if (FOptions & poTrimCharFields) {
                size_t end = bytes.size();
                while (end > place + 2 && static_cast<unsigned char>(bytes[end - 1]) <= 32)
                    --end;
                bytes.resize(end);
            }
            if (static_cast<int>(bytes.size() - place - 2) > def.Size)
                RaiseClientError(feFieldSizeTooSmall, {Name(), def.Name});
            TRecordLayout::EndText(bytes, place);
            break;
        }
        case SQL_SHORT:
        case SQL_LONG:
            if (def.SqlScale == 0)
                TRecordLayout::AppendInt32(bytes, static_cast<int32_t>(column.AsInt64()));
            else
                TRecordLayout::AppendDouble(bytes, column.AsDouble());
            break;
        case SQL_FLOAT:
        case SQL_DOUBLE:
            TRecordLayout::AppendDouble(bytes, column.AsDouble());
            break;
        case SQL_INT64:
            if (def.DataType == ftBCD)
                TRecordLayout::AppendInt64(bytes, column.AsInt64());
            else
                TRecordLayout::AppendDouble(bytes, column.AsDouble());
            break;
        case SQL_TYPE_DATE:
            TRecordLayout::AppendDouble(
                bytes, static_cast<double>(ReadValue<ISC_DATE>(data) - ServerDayOffset));
            break;
        case SQL_TYPE_TIME:
            TRecordLayout::AppendDouble(bytes, TimeToMilliseconds(ReadValue<ISC_TIME>(data)));
            break;
        case SQL_TIMESTAMP: {
            const auto stamp = ReadValue<ISC_TIMESTAMP>(data);
            const double date = stamp.timestamp_date - ServerDayOffset;
            const double time = TimeToMilliseconds(stamp.timestamp_time);
            // Before 30 December 1899 the time of day is the fraction below the day.
            TRecordLayout::AppendDouble(bytes, date < 0 ? date - time : date + time);
            break;
        }
        case SQL_BLOB:
        case SQL_ARRAY:
            TRecordLayout::AppendQuad(bytes, ReadValue<ISC_QUAD>(data));
            break;
        case SQL_OLD_BOOLEAN:
        case SQL_FB_BOOLEAN:
            TRecordLayout::AppendInt32(bytes, column.SqlLength() >= 2
                                                  ? int32_t(ReadValue<int16_t>(data))
                                                  : int32_t(static_cast<uint8_t>(*data)));
            break;
        default:
            TRecordLayout::SetNull(bytes, i);
            break;
        }
    }
}

void TFIBCustomDataSet::SetCurrent(int row) {
    if (row == FCurrent)
        return;
    FCurrent = row;
    Notify(deScrolled);
}

void TFIBCustomDataSet::First() {
    if (!FActive)
        return;
    if (FCache.Count() == 0)
        FetchNext();
    FBof = true;
    FEof = FCache.Count() == 0;
    SetCurrent(FCache.Count() == 0 ? -1 : 0);
}

void TFIBCustomDataSet::Next() {
    if (!FActive || FEof)
        return;
    FBof = false;
    if (static_cast<size_t>(FCurrent) + 1 < FCache.Count() || FetchNext())
        SetCurrent(FCurrent + 1);
    else
        FEof = true;
}

void TFIBCustomDataSet::Prior() {
    if (!FActive)
        return;
    if (FCurrent > 0) {
        FEof = false;
        FBof = false;
        SetCurrent(FCurrent - 1);
    } else {
        FBof = true;
    }
}

void TFIBCustomDataSet::Last() {
    if (!FActive)
        return;
    FetchAll();
    FBof = false;
    FEof = true;
    SetCurrent(static_cast<int>(FCache.Count()) - 1);
}

bool TFIBCustomDataSet::MoveTo(int row) {
    if (!FActive || row < 0)
        return false;
    while (FCache.Count() <= static_cast<size_t>(row) && FetchNext()) {
    }
    const bool reached = static_cast<size_t>(row) < FCache.Count();
    FBof = row == 0 && reached;
    FEof = !reached || FCache.Count() == 0;
    SetCurrent(reached ? row : static_cast<int>(FCache.Count()) - 1);
    return reached;
}

int TFIBCustomDataSet::FetchMore(int count) {
    int fetched = 0;
    while (fetched < count && FetchNext())
        ++fetched;
    return fetched;
}

void TFIBCustomDataSet::FetchAll() {
    while (FetchNext()) {
    }
}

void TFIBCustomDataSet::Notify(TDataSetEvent event) {
    FLinks.ForEach([&](IDataSetLink* link) { link->DataSetChanged(*this, event); });
}

void TFIBCustomDataSet::DatabaseBeforeDisconnect(TFIBDatabase&) {
    Close();
}

void TFIBCustomDataSet::DatabaseFreed(TFIBDatabase&) {
    FActive = false;
    FCache.Clear();
    FCurrentDataRow = -1;
    DestroyFields();
    FDatabase = nullptr;
    FPrepared = false;
}

void TFIBCustomDataSet::TransactionBeforeEnd(TFIBTransaction& transaction, TTransactionAction) {
    const TTransactionState state = transaction.TransactionState();
    if (state == tsCommitting || state == tsRollingBack)
        Close();
}

void TFIBCustomDataSet::TransactionFreed(TFIBTransaction&) {
    FTransaction = nullptr;
}

} // namespace gravlink
