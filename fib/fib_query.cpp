#include "fib/fib_query.h"

#include "fib/fib_database.h"
#include "fib/fib_error.h"
#include "fib/fib_transaction.h"
#include "fib/sql_params.h"

#include <array>
#include <random>

namespace gravlink {

namespace {

bool IsBlankText(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) > 32)
            return false;
    return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

bool DescribesOutput(TFIBSQLTypes type) {
    return type == SQLSelect || type == SQLExecProcedure || type == SQLSelectForUpdate;
}

bool HasCursor(TFIBSQLTypes type) {
    return type == SQLSelect || type == SQLSelectForUpdate;
}

std::string RandomCursorName() {
    std::random_device device;
    std::uniform_int_distribution<int> digit(0, 9);
    std::string name;
    for (int i = 0; i < 10; ++i)
        name += static_cast<char>('0' + digit(device));
    return name;
}

} // namespace

TFIBQuery::TFIBQuery(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)), FFields(*this, false), FParams(*this, true) {}

TFIBQuery::~TFIBQuery() {
    if (FOpen && FHandle.Held()) {
        try {
            Close();
        } catch (const std::exception&) {
        }
    }
    FHandle.Drop();
    if (FTransaction)
        FTransaction->RemoveSQLObject(this);
    if (FDatabase)
        FDatabase->RemoveSQLObject(this);
}

std::string TFIBQuery::SQL() const {
    std::string text;
    for (const std::string& line : FSQL) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TFIBQuery::SetSQL(const std::string& text) {
    SetSQLLines(SplitLines(text));
}

void TFIBQuery::SetSQLLines(std::vector<std::string> lines) {
    if (FOpen)
        RaiseClientError(feDatasetOpen, {std::string("change sql text"), FullName(this)});
    FreeHandle();
    FSQL = std::move(lines);
    FFields.Clear();
    FSQLType = SQLUnknown;
    TextChanged();
}

void TFIBQuery::SetParamCheck(bool check) {
    if (check == FParamCheck)
        return;
    FParamCheck = check;
    TextChanged();
}

void TFIBQuery::TextChanged() {
    const std::string text = SQL();
    if (!FParamCheck || IsDataDefinitionText(text)) {
        FProcessedSQL = text;
        FParams.Clear();
        return;
    }
    // A text refused by the parser leaves nothing to run, not the previous statement.
    FProcessedSQL.clear();
    FParams.Clear();
    TProcessedSQL processed = RecognizeParams(text, FullName(this));
    FProcessedSQL = std::move(processed.Text);
    FParams.SetParamNames(processed.ParamNames);
}

void TFIBQuery::SetDatabase(TFIBDatabase* database) {
    if (database == FDatabase)
        return;
    if (FOpen)
        Close();
    FreeHandle();
    if (FDatabase)
        FDatabase->RemoveSQLObject(this);
    FDatabase = database;
    if (!FDatabase)
        return;
    FDatabase->AddSQLObject(this);
    if (!FTransaction && FDatabase->DefaultTransaction())
        SetTransaction(FDatabase->DefaultTransaction());
}

void TFIBQuery::SetTransaction(TFIBTransaction* transaction) {
    if (transaction == FTransaction)
        return;
    if (FOpen)
        Close();
    if (FTransaction)
        FTransaction->RemoveSQLObject(this);
    FTransaction = transaction;
    if (FTransaction)
        FTransaction->AddSQLObject(this);
}

const IIBClientLibrary& TFIBQuery::ClientLibrary() const {
    CheckDatabase();
    return *FDatabase->ClientLibrary();
}

int TFIBQuery::Dialect() const {
    return FDatabase->SQLDialect();
}

// Statement calls go through the transaction when there is one, so its idle flags and
// its connections' are cleared; the statement leads the message.
ISC_STATUS TFIBQuery::CallChecked(ISC_STATUS result) {
    if (FTransaction)
        return FTransaction->Call(result, true, this);
    return FDatabase->Call(result, true, this);
}

TFIBXSQLVAR& TFIBQuery::Fields(int index) {
    if (index < 0 || index >= FieldCount())
        RaiseClientError(feFieldNotFound, {"Field No: " + std::to_string(index)});
    return FFields[index];
}

TFIBXSQLVAR& TFIBQuery::Params(int index) {
    if (index < 0 || index >= ParamCount())
        RaiseClientError(feXSQLDAIndexOutOfRange);
    return FParams[index];
}

void TFIBQuery::FreeHandle() {
    if (FHandle.Held()) {
        FOpen = FBOF = FEOF = false;
        const ISC_STATUS result = FHandle.Drop();
        FPrepared = false;
        if (result > 0 && !StatusHoldsError(isc_bad_stmt_handle))
            RaiseStatusError(*FHandle.Library(), this);
    }
    FPrepared = false;
}

void TFIBQuery::CheckDatabase() const {
    if (!FDatabase)
        RaiseClientError(feDatabaseNotAssigned, {FullName(this)});
    FDatabase->CheckActive();
}

void TFIBQuery::StartTransactionIfAsked() {
    if (HasOption(qoStartTransaction) && FTransaction && !FTransaction->Active())
        FTransaction->StartTransaction();
}

void TFIBQuery::CheckTransaction() const {
    if (!FTransaction)
        RaiseClientError(feTransactionNotAssigned, {FullName(this)});
    FTransaction->CheckInTransaction();
}

void TFIBQuery::Prepare() {
    if (FOpen)
        Close();
    CheckDatabase();
    StartTransactionIfAsked();
    CheckTransaction();
    if (FPrepared)
        return;
    if (IsBlankText(FProcessedSQL))
        RaiseClientError(feEmptyQuery, {std::string("Prepare")});
    try {
        PrepareOnServer();
        if (FPrepareObserver)
            FPrepareObserver(*this);
    } catch (...) {
        FHandle.Drop();
        FPrepared = false;
        FFields.Clear();
        throw;
    }
    FPrepared = true;
}

void TFIBQuery::PrepareOnServer() {
    const IIBClientLibrary& library = *FDatabase->ClientLibrary();
    FHandle.Bind(FDatabase->ClientLibrary());
    FDatabase->Call(
        library.isc_dsql_alloc_statement2(StatusVector(), FDatabase->Handle(), FHandle.Field()),
        true, this);

    // A new output list holds no fetched row.
    FRecordCount = 0;
    FFields.Resize(1);
    const std::string text = FProcessedSQL + "\r\n";
    CallChecked(library.isc_dsql_prepare(StatusVector(), FTransaction->Handle(), FHandle.Field(), 0,
                                         text.c_str(), static_cast<unsigned short>(Dialect()),
                                         FFields.Descriptor()));
    FSQLType = ReadStatementType();

    if (FSQLType == SQLSelectForUpdate) {
        if (FCursorName.empty())
            FCursorName = RandomCursorName();
        CallChecked(library.isc_dsql_set_cursor_name(StatusVector(), FHandle.Field(),
                                                     FCursorName.c_str(), 0));
    }

    switch (FSQLType) {
    case SQLSelect:
    case SQLInsert:
    case SQLUpdate:
    case SQLDelete:
    case SQLExecProcedure:
    case SQLSelectForUpdate:
        if (FParams.Count() > 0)
            DescribeParams();
        if (DescribesOutput(FSQLType))
            DescribeOutput(FFields.Descriptor()->sqld);
        else
            FFields.Clear();
        break;
    case SQLGetSegment:
    case SQLPutSegment:
    case SQLStartTransaction:
        FHandle.Drop();
        RaiseClientError(feNotPermitted);
    default:
        FFields.Clear();
        break;
    }
}

TFIBSQLTypes TFIBQuery::ReadStatementType() {
    const IIBClientLibrary& library = *FDatabase->ClientLibrary();
    char item = isc_info_sql_stmt_type;
    std::array<char, 8> answer{};
    CallChecked(library.isc_dsql_sql_info(StatusVector(), FHandle.Field(), 1, &item,
                                          static_cast<short>(answer.size()), answer.data()));
    if (answer[0] != isc_info_sql_stmt_type)
        RaiseClientError(feUnknownError);
    const auto length = static_cast<short>(library.isc_vax_integer(&answer[1], 2));
    return static_cast<TFIBSQLTypes>(library.isc_vax_integer(&answer[3], length));
}

long long TFIBQuery::RowsAffected() {
    if (!FPrepared || !FDatabase || !FDatabase->ClientLibrary())
        return 0;
    int counter = 0;
    switch (FSQLType) {
    case SQLUpdate:
        counter = isc_info_req_update_count;
        break;
    case SQLDelete:
        counter = isc_info_req_delete_count;
        break;
    case SQLInsert:
        counter = isc_info_req_insert_count;
        break;
    default:
        return 0;
    }
    const IIBClientLibrary& library = *FDatabase->ClientLibrary();
    char item = isc_info_sql_records;
    std::array<char, 64> answer{};
    CallChecked(library.isc_dsql_sql_info(StatusVector(), FHandle.Field(), 1, &item,
                                          static_cast<short>(answer.size()), answer.data()));
    if (answer[0] != isc_info_sql_records)
        return 0;
    // The item's length, then clusters of a counter, a length and a value.
    const size_t end = 3 + static_cast<size_t>(library.isc_vax_integer(&answer[1], 2));
    for (size_t at = 3; at + 3 <= end && at + 3 <= answer.size();) {
        const int which = static_cast<unsigned char>(answer[at]);
        if (which == isc_info_end)
            break;
        const auto length = static_cast<short>(library.isc_vax_integer(&answer[at + 1], 2));
        if (at + 3 + static_cast<size_t>(length) > answer.size())
            break;
        if (which == counter)
            return library.isc_vax_integer(&answer[at + 3], length);
        at += 3 + static_cast<size_t>(length);
    }
    return 0;
}

void TFIBQuery::DescribeParams() {
    const IIBClientLibrary& library = *FDatabase->ClientLibrary();
    XSQLDA* descriptor = FParams.Descriptor();
    CallChecked(library.isc_dsql_describe_bind(StatusVector(), FHandle.Field(), 1, descriptor));
    if (descriptor->sqld > descriptor->sqln) {
        // The server counts markers the text did not show; take its count.
        std::vector<std::string> names;
        names.reserve(static_cast<size_t>(descriptor->sqld));
        for (int i = 0; i < descriptor->sqld; ++i)
            names.push_back(i < FParams.Count() ? FParams[i].Name() : std::string());
        FParams.SetParamNames(names);
        descriptor = FParams.Descriptor();
        CallChecked(library.isc_dsql_describe_bind(StatusVector(), FHandle.Field(), 1, descriptor));
    }
    FParams.SetupParams();
}

void TFIBQuery::DescribeOutput(int serverColumns) {
    if (serverColumns == 0) {
        FFields.Clear();
        return;
    }
    if (serverColumns > FFields.Descriptor()->sqln) {
        FFields.Resize(serverColumns);
        CallChecked(FDatabase->ClientLibrary()->isc_dsql_describe(StatusVector(), FHandle.Field(),
                                                                  1, FFields.Descriptor()));
    }
    FFields.SetupOutput(Dialect());
}

void TFIBQuery::ExecQuery() {
    FFields.MarkAllNull();
    FRecordCount = 0;
    StartTransactionIfAsked();
    if (!FPrepared || (FParams.Count() > 0 && FParamCheck))
        Prepare();
    CheckDatabase();
    CheckTransaction();
    FTransaction->SQLExecuteNotice(*this, false);
    DoBeforeExecute();
    ExecuteOnServer();
    DoAfterExecute();
    FTransaction->SQLExecuteNotice(*this, true);
    if (HasOption(qoAutoCommit)) {
        if (FTransaction->TimeoutAction() == TACommitRetaining)
            FTransaction->CommitRetaining();
        else
            FTransaction->Commit();
    }
    for (int i = 0; i < FParams.Count(); ++i)
        FParams[i].ClearChanged();
}

void TFIBQuery::ExecuteOnServer() {
    const IIBClientLibrary& library = *FDatabase->ClientLibrary();
    XSQLDA* params = FParams.Count() > 0 ? FParams.Descriptor() : nullptr;
    const auto dialect = static_cast<unsigned short>(Dialect());
    switch (FSQLType) {
    case SQLSelect:
    case SQLSelectForUpdate:
        if (FOpen)
            Close();
        CallChecked(library.isc_dsql_execute(StatusVector(), FTransaction->Handle(),
                                             FHandle.Field(), dialect, params));
        FOpen = true;
        FBOF = true;
        FEOF = false;
        FRecordCount = 0;
        if (FGoToFirstRecordOnExecute)
            Next();
        break;
    case SQLExecProcedure: {
        FreeHandle();
        Prepare();
        params = FParams.Count() > 0 ? FParams.Descriptor() : nullptr;
        XSQLDA* output = FFields.Count() > 0 ? FFields.Descriptor() : nullptr;
        CallChecked(library.isc_dsql_execute2(StatusVector(), FTransaction->Handle(),
                                              FHandle.Field(), dialect, params, output));
        break;
    }
    default:
        CallChecked(library.isc_dsql_execute(StatusVector(), FTransaction->Handle(),
                                             FHandle.Field(), dialect, params));
        break;
    }
}

TFIBXSQLDA* TFIBQuery::Next() {
    if (FEOF)
        return nullptr;
    if (!FOpen)
        RaiseClientError(feDatasetClosed, {std::string("fetch next record"), FullName(this)});
    if (FFetchObserver && FFetchObserver(FRecordCount))
        throw EAbort();
    const IIBClientLibrary& library = *FDatabase->ClientLibrary();
    const ISC_STATUS result = FDatabase->Call(
        library.isc_dsql_fetch(StatusVector(), FHandle.Field(),
                               static_cast<unsigned short>(Dialect()), FFields.Descriptor()),
        false, this);
    if (result == 0) {
        ++FRecordCount;
        FBOF = false;
        return &FFields;
    }
    if (result == 100 || StatusHoldsError(isc_dsql_cursor_err)) {
        FEOF = true;
        return nullptr;
    }
    // Compose the failure before closing, which reuses the status vector.
    try {
        RaiseStatusError(library, this);
    } catch (...) {
        try {
            Close();
        } catch (const std::exception&) {
        }
        throw;
    }
}

void TFIBQuery::Close() {
    if (!FOpen)
        return;
    struct ClearFlags {
        TFIBQuery& Query;
        ~ClearFlags() { Query.FOpen = Query.FBOF = Query.FEOF = false; }
    } clearFlags{*this};
    if (!FHandle.Held() || !HasCursor(FSQLType))
        return;
    const IIBClientLibrary& library = *FHandle.Library();
    const ISC_STATUS result =
        library.isc_dsql_free_statement(StatusVector(), FHandle.Field(), DSQL_close);
    if (result > 0 && !StatusHoldsError(isc_bad_stmt_handle) &&
        !StatusHoldsError(isc_dsql_cursor_close_err))
        RaiseStatusError(library, this);
}

void TFIBQuery::DatabaseBeforeDisconnect(TFIBDatabase&) {
    Close();
    FreeHandle();
}

void TFIBQuery::DatabaseConnectionLost(TFIBDatabase&) {
    FHandle.Forget();
    FOpen = FBOF = FEOF = false;
    FPrepared = false;
}

void TFIBQuery::DatabaseFreed(TFIBDatabase&) {
    FHandle.Forget();
    FOpen = FBOF = FEOF = false;
    FPrepared = false;
    FDatabase = nullptr;
}

void TFIBQuery::TransactionBeforeEnd(TFIBTransaction& transaction, TTransactionAction) {
    const TTransactionState state = transaction.TransactionState();
    if (state == tsCommitting || state == tsRollingBack)
        Close();
}

void TFIBQuery::TransactionFreed(TFIBTransaction&) {
    if (FOpen) {
        try {
            Close();
        } catch (const std::exception&) {
        }
    }
    FTransaction = nullptr;
}

} // namespace gravlink
