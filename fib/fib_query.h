#pragma once

#include "fib/bound_objects.h"
#include "fib/fib_component.h"
#include "fib/fib_xsqlda.h"
#include "fib/statement_handle.h"
#include "support/exception.h"

#include <functional>
#include <string>
#include <vector>

namespace gravlink {

class TFIBDatabase;
class TFIBTransaction;

// The silent abort: a fetch abandoned at an observer's request. Callers that show
// failures leave it unreported.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// The options of a statement, one bit each.
enum TpFIBQueryOption : unsigned {
    qoStartTransaction = 1 << 0,
    qoAutoCommit = 1 << 1,
    qoTrimCharFields = 1 << 2,
    qoNoForceIsNull = 1 << 3,
};
using TpFIBQueryOptions = unsigned;

// What the server says a prepared statement is (isc_info_sql_stmt_type).
enum TFIBSQLTypes {
    SQLUnknown = 0,
    SQLSelect = 1,
    SQLInsert = 2,
    SQLUpdate = 3,
    SQLDelete = 4,
    SQLDDL = 5,
    SQLGetSegment = 6,
    SQLPutSegment = 7,
    SQLExecProcedure = 8,
    SQLStartTransaction = 9,
    SQLCommit = 10,
    SQLRollback = 11,
    SQLSelectForUpdate = 12,
    SQLSetGenerator = 13,
    SQLSavePointOperation = 14,
};

// One SQL statement on a connection inside a transaction; a select is walked one row
// at a time: Close, SQL, ExecQuery (which fetches the first row), Fields, Next until Eof.
class TFIBQuery : public TComponent, public IFIBDatabaseClient, public IFIBTransactionClient {
public:
    explicit TFIBQuery(TComponent* owner = nullptr, std::string name = {});
    ~TFIBQuery() override;

    // The text: its lines, each followed by CR LF. Changing it with a cursor open fails
    // with message 28; a change unprepares the statement and recognises parameters anew.
    std::string SQL() const;
    const std::vector<std::string>& SQLLines() const { return FSQL; }
    void SetSQL(const std::string& text);
    void SetSQLLines(std::vector<std::string> lines);
    // The text as the server gets it (parameter markers made "?").
    const std::string& ProcessedSQL() const { return FProcessedSQL; }

    TFIBDatabase* Database() const { return FDatabase; }
    // Binds to the connection; without a transaction the connection's
    // DefaultTransaction becomes the statement's.
    void SetDatabase(TFIBDatabase* database);
    TFIBTransaction* Transaction() const { return FTransaction; }
    void SetTransaction(TFIBTransaction* transaction);

    TpFIBQueryOptions Options() const { return FOptions; }
    void SetOptions(TpFIBQueryOptions options) { FOptions = options; }
    bool HasOption(TpFIBQueryOption option) const { return (FOptions & option) != 0; }
    bool ParamCheck() const { return FParamCheck; }
    void SetParamCheck(bool check);
    bool GoToFirstRecordOnExecute() const { return FGoToFirstRecordOnExecute; }
    void SetGoToFirstRecordOnExecute(bool value) { FGoToFirstRecordOnExecute = value; }

    void Prepare();
    void ExecQuery();
    // The output list after a fetched row; null at the end.
    TFIBXSQLDA* Next();
    // Ends an open cursor; the statement stays prepared.
    void Close();
    // Releases the statement handle; the text and its parameters stay.
    void FreeHandle();

    bool Prepared() const { return FPrepared; }
    bool Open() const { return FOpen; }
    bool Bof() const { return FBOF; }
    bool Eof() const { return FEOF || !FOpen; }
    int RecordCount() const { return FRecordCount; }
    TFIBSQLTypes SQLType() const { return FSQLType; }
    isc_stmt_handle HandleValue() const { return FHandle.Value(); }
    // Rows the last executed update, delete or insert changed, as the server counts them
    // (isc_info_sql_records); 0 for other statements.
    long long RowsAffected();

    int FieldCount() const { return FFields.Count(); }
    // Output column i; message 41 ("Field No: i") outside 0 .. FieldCount - 1.
    TFIBXSQLVAR& Fields(int index);
    TFIBXSQLDA& Current() { return FFields; }
    int ParamCount() const { return FParams.Count(); }
    // Parameter i; message 23 outside the list.
    TFIBXSQLVAR& Params(int index);
    TFIBXSQLVAR* ParamByName(const std::string& name) { return FParams.ByName(name); }
    TFIBXSQLDA& ParamList() { return FParams; }
    const TFIBXSQLDA& ParamList() const { return FParams; }

    // Called once the statement is prepared, before it first runs; a failure it raises
    // leaves the statement unprepared.
    void SetPrepareObserver(std::function<void(const TFIBQuery&)> observer) {
        FPrepareObserver = std::move(observer);
    }
    // Called before each fetch with the rows fetched so far; returning true abandons
    // the fetch with EAbort. The browsing data set attaches one.
    void SetFetchObserver(std::function<bool(int)> observer) {
        FFetchObserver = std::move(observer);
    }

    // The binding of the statement's connection; message 21 without one.
    const IIBClientLibrary& ClientLibrary() const;

    // IFIBDatabaseClient
    void DatabaseBeforeDisconnect(TFIBDatabase&) override;
    void DatabaseConnectionLost(TFIBDatabase&) override;
    void DatabaseFreed(TFIBDatabase&) override;
    // IFIBTransactionClient
    void TransactionBeforeEnd(TFIBTransaction&, TTransactionAction) override;
    void TransactionFreed(TFIBTransaction&) override;

protected:
    // Hooks around the server execute; nothing in the core assigns them.
    virtual void DoBeforeExecute() {}
    virtual void DoAfterExecute() {}

private:
    void TextChanged();
    void CheckDatabase() const;
    void StartTransactionIfAsked();
    void CheckTransaction() const;
    void PrepareOnServer();
    TFIBSQLTypes ReadStatementType();
    void DescribeParams();
    void DescribeOutput(int serverColumns);
    void ExecuteOnServer();
    int Dialect() const;
    ISC_STATUS CallChecked(ISC_STATUS result);

    std::vector<std::string> FSQL;
    std::string FProcessedSQL;
    TFIBDatabase* FDatabase = nullptr;
    TFIBTransaction* FTransaction = nullptr;
    TpFIBQueryOptions FOptions = 0;
    bool FParamCheck = true;
    bool FGoToFirstRecordOnExecute = true;
    bool FPrepared = false;
    bool FOpen = false;
    bool FBOF = false;
    bool FEOF = false;
    int FRecordCount = 0;
    TFIBSQLTypes FSQLType = SQLUnknown;
    std::string FCursorName;
    TStatementHandle FHandle;
    TFIBXSQLDA FFields;
    TFIBXSQLDA FParams;
    std::function<bool(int)> FFetchObserver;
    std::function<void(const TFIBQuery&)> FPrepareObserver;
};

// The statement the program's components use. Its execute events exist for callers
// that want them; the program assigns none, so an execute failure simply propagates.
class TpFIBQuery : public TFIBQuery {
public:
    using TFIBQuery::TFIBQuery;

    std::function<void(TpFIBQuery&)> BeforeExecute;
    std::function<void(TpFIBQuery&)> AfterExecute;

protected:
    void DoBeforeExecute() override {
        if (BeforeExecute)
            BeforeExecute(*this);
    }
    void DoAfterExecute() override {
        if (AfterExecute)
            AfterExecute(*this);
    }
};

} // namespace gravlink
