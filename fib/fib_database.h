#pragma once

#include "fib/bound_objects.h"
#include "fib/fib_component.h"
#include "fib/ib_client_library.h"
#include "fib/param_lines.h"

#include <memory>
#include <string>
#include <vector>

namespace gravlink {

class TFIBTransaction;

// One attachment to one database through the client library. Statements, data sets
// and transactions bind to it and are told when it attaches and goes away. A
// connection destroyed while open disconnects with force.
class TFIBDatabase : public TComponent {
public:
    explicit TFIBDatabase(TComponent* owner = nullptr, std::string name = {});
    ~TFIBDatabase() override;

    // Attaches: message 13 when open, 14 without DBName; loads the binding for
    // LibraryName when there is none; builds the parameter block; a refused attach
    // raises the status error and leaves the connection closed. Afterwards SQLDialect
    // is lowered to the server's dialect when that is lower.
    virtual void Open();
    // Ends the bound transactions by their TimeoutAction with force, tells the bound
    // statements and data sets, and detaches (a failed detach still clears the handle).
    // Without force a failure of a bound object propagates and the connection stays open.
    virtual void Disconnect(bool force);
    // Disconnect without force when connected.
    void Close();

    bool Connected() const { return FHandle != 0; }
    void SetConnected(bool connected);

    // The database as the client names it: a local path or "server:path". Changing it
    // while open fails with message 13.
    const std::string& DBName() const { return FDBName; }
    void SetDBName(const std::string& name);
    // Connection parameter lines ("user_name=SYSDBA"); a change while open fails with
    // message 13.
    TParamLines& DBParams() { return FDBParams; }
    const TParamLines& DBParams() const { return FDBParams; }
    // The database parameter block built at the last Open.
    const std::string& DPB() const { return FDPB; }

    // Dialect for statements; below 1, or above the server's while open: message 61.
    int SQLDialect() const { return FSQLDialect; }
    void SetSQLDialect(int dialect);
    // Idle time in milliseconds after which the connection closes itself; 0 = never;
    // negative fails with message 17.
    int Timeout() const { return FTimeout; }
    void SetTimeout(int milliseconds);
    // File name of the client library; changing it while open fails with message 13,
    // and a different name drops the binding.
    const std::string& LibraryName() const { return FLibraryName; }
    void SetLibraryName(const std::string& name);

    // The transaction statements and data sets take when they have none. Setting it
    // binds the transaction to this connection and makes this connection its
    // DefaultDatabase when it has none.
    TFIBTransaction* DefaultTransaction() const { return FDefaultTransaction; }
    void SetDefaultTransaction(TFIBTransaction* transaction);
    // The connection's own nameless transaction ("write", "nowait", "rec_version",
    // "read_committed"), used for the look-ups of the connection itself.
    TFIBTransaction& InternalTransaction() { return *FInternalTransaction; }

    // The dialect the server reports for the open database (1 when it does not know
    // the item); a refused query raises the status error.
    short ServerSqlDialect();

    // Message 12 ("%s: Cannot perform operation -- DB is not open.") when closed.
    void CheckActive() const;
    // Message 13 when open.
    void CheckInactive() const;

    // The binding; null until the first Open.
    const TClientLibraryRef& ClientLibrary() const { return FClientLibrary; }
    // The handle field the client writes; statements pass its address.
    isc_db_handle* Handle() { return &FHandle; }
    isc_db_handle HandleValue() const { return FHandle; }

    // The checked call after each client call of the connection: clears the idle
    // flag; when raiseOnError is set a result above 0 raises the status error with
    // sender (the connection when none is given). Returns result.
    ISC_STATUS Call(ISC_STATUS result, bool raiseOnError, const TComponent* sender);
    ISC_STATUS Call(ISC_STATUS result, bool raiseOnError = true) {
        return Call(result, raiseOnError, this);
    }
    void ClearIdle() { FIdle = false; }

    // Statements and data sets naming this connection (IFIBDatabaseClient). A bound
    // object removes itself before it goes; removal moves the last entry into its place.
    void AddSQLObject(IFIBDatabaseClient* object) { FSQLObjects.Add(object); }
    void RemoveSQLObject(IFIBDatabaseClient* object) { FSQLObjects.Remove(object); }
    size_t SQLObjectCount() const { return FSQLObjects.Count(); }
    IFIBDatabaseClient* SQLObjects(size_t index) const { return FSQLObjects[index]; }

    // Transactions bound to this connection, in order. Binding is two-way: use
    // TFIBTransaction::AddDatabase or SetDefaultDatabase, which call these.
    size_t TransactionCount() const { return FTransactions.Count(); }
    TFIBTransaction* Transactions(size_t index) const { return FTransactions[index]; }

    // After the server was lost: drops the attachment, the statements' handles and the
    // transactions' handles without server calls; the transactions end as by a commit
    // (cursors and data sets close). Nothing raises.
    void ForgetConnection();

    // One tick of the idle timer (nothing arms it in the core; an event loop that wants
    // the timer calls this every Timeout milliseconds): the first tick after activity
    // marks the connection idle, the next disconnects with force. Does nothing while
    // Timeout is 0.
    void IdleTimerTick();
    bool Idle() const { return FIdle; }

protected:
    // Commits the internal transaction when active, as the connection goes.
    void EndInternalTransaction() noexcept;
    // The value of one database information item; -1 when the server does not know it.
    short DatabaseInfoValue(char item);

private:
    void AddTransaction(TFIBTransaction* transaction) { FTransactions.Add(transaction); }
    void RemoveTransaction(TFIBTransaction* transaction);

    isc_db_handle FHandle = 0;
    std::string FDBName;
    TParamLines FDBParams;
    std::string FDPB;
    int FSQLDialect = 1;
    int FTimeout = 0;
    std::string FLibraryName = DefaultLibraryName;
    TClientLibraryRef FClientLibrary;
    TFIBTransaction* FDefaultTransaction = nullptr;
    TBoundList<TFIBTransaction> FTransactions;
    TBoundList<IFIBDatabaseClient> FSQLObjects;
    bool FIdle = false;
    std::unique_ptr<TFIBTransaction> FInternalTransaction;

    friend class TFIBTransaction;
};

// The connection the program's components use: Disconnect first probes whether the
// server is still there, and forgets a lost connection instead of failing.
class TpFIBDatabase : public TFIBDatabase {
public:
    using TFIBDatabase::TFIBDatabase;
    // Disconnects with force through the probe, so a lost server is forgotten quietly.
    ~TpFIBDatabase() override;

    void Open() override;
    void Disconnect(bool force) override;

    // isc_database_info for the base level; false when the server no longer answers.
    bool CheckConnectionAlive();

    // The column names of table in column-position order, read with a pooled
    // statement in InternalTransaction, which is committed afterwards. The list is
    // cleared first; a table that does not exist leaves it empty. Message 12 when the
    // connection is closed, the list then untouched.
    void GetFieldNames(const std::string& table, std::vector<std::string>& list);
};

} // namespace gravlink
