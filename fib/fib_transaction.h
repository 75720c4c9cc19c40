#pragma once

#include "fib/bound_objects.h"
#include "fib/fib_component.h"
#include "fib/ib_client_library.h"
#include "fib/param_lines.h"

#include <cstdint>
#include <string>

namespace gravlink {

class TFIBDatabase;

// What the transaction is doing; bound objects read it during the end notices.
enum TTransactionState : uint8_t {
    tsActive = 0,
    tsInactive = 1,
    tsRollingBack = 2,
    tsRollingBackRetaining = 3,
    tsCommitting = 4,
    tsCommittingRetaining = 5,
};

// One server transaction over the connections it lists, started and ended explicitly.
// The handle is released by Commit or Rollback; a transaction destroyed while active
// ends itself by its TimeoutAction with force.
class TFIBTransaction : public TComponent {
public:
    explicit TFIBTransaction(TComponent* owner = nullptr, std::string name = {});
    ~TFIBTransaction() override;

    // Ends the transaction: message 15 when not active. Commit and rollback first tell
    // the bound objects (last to first) with TransactionState 4 or 2; a refused end
    // raises the status error and leaves the transaction active, unless force is set,
    // in which case a rollback is tried once more and the handle is dropped whatever
    // the server says. The retaining forms keep the handle and raise regardless of force.
    virtual void FinishTransaction(TTransactionAction action, bool force);
    // Told by a statement just before (after = false) and after it executes.
    virtual void SQLExecuteNotice(TComponent& statement, bool after);
    // Starts the transaction: message 16 when active, 18 without connections, 12 when
    // a connection is closed; the server's refusal raises the status error.
    virtual void StartTransaction();
    virtual void Commit() { FinishTransaction(TACommit, false); }
    virtual void CommitRetaining() { FinishTransaction(TACommitRetaining, false); }
    virtual void Rollback() { FinishTransaction(TARollback, false); }
    virtual void RollbackRetaining() { FinishTransaction(TARollbackRetaining, false); }

    // True while the handle is not 0. Setting true starts, setting false rolls back.
    bool Active() const { return FHandle != 0; }
    void SetActive(bool active);
    TTransactionState TransactionState() const { return FTransactionState; }

    // The first connection; setting it binds the transaction to it (message 16 while
    // active) and unbinds the previous one.
    TFIBDatabase* DefaultDatabase() const { return FDefaultDatabase; }
    void SetDefaultDatabase(TFIBDatabase* database);

    // Idle time in milliseconds after which the transaction ends by TimeoutAction;
    // 0 = never. Negative values fail with message 17.
    int Timeout() const { return FTimeout; }
    void SetTimeout(int milliseconds);
    // How the transaction ends when nobody said how (idle timer, disconnect, destruction).
    TTransactionAction TimeoutAction() const { return FTimeoutAction; }
    void SetTimeoutAction(TTransactionAction action) { FTimeoutAction = action; }

    // Parameter lines; a change while active fails with message 16.
    TParamLines& TRParams() { return FTRParams; }
    const TParamLines& TRParams() const { return FTRParams; }
    // The transaction parameter block of the last start.
    const std::string& TPB() const { return FTPB; }

    // The connections the transaction spans, in order (binding is two-way: the
    // connection lists the transaction too).
    size_t DatabaseCount() const { return FDatabases.Count(); }
    TFIBDatabase* Databases(size_t index) const { return FDatabases[index]; }
    void AddDatabase(TFIBDatabase* database);
    void RemoveDatabase(TFIBDatabase* database);

    // Statements and data sets that run in this transaction; they are told of its
    // start and end (IFIBTransactionClient). A bound object removes itself before it goes.
    void AddSQLObject(IFIBTransactionClient* object) { FSQLObjects.Add(object); }
    void RemoveSQLObject(IFIBTransactionClient* object) { FSQLObjects.Remove(object); }
    size_t SQLObjectCount() const { return FSQLObjects.Count(); }
    IFIBTransactionClient* SQLObjects(size_t index) const { return FSQLObjects[index]; }

    // The handle field the client writes; statements pass its address.
    isc_tr_handle* Handle() { return &FHandle; }
    isc_tr_handle HandleValue() const { return FHandle; }

    // The checked call after every client call of the transaction or of a statement
    // running in it: clears the idle flags of the transaction and its connections, and
    // when raiseOnError is set a result above 0 raises the status error with sender,
    // composed through the first connection's binding. Returns result.
    ISC_STATUS Call(ISC_STATUS result, bool raiseOnError, const TComponent* sender);
    ISC_STATUS Call(ISC_STATUS result, bool raiseOnError = true) {
        return Call(result, raiseOnError, this);
    }
    // The binding the transaction was started through (the first connection's); while
    // inactive, the first connection's binding. Fails with message 18 without either.
    const IIBClientLibrary& ClientLibrary() const;

    // Set after the server was lost: the next end drops the handle without a server call.
    void MarkSharedHandle() { FSharedHandle = true; }

    // One tick of the idle timer (nothing arms it in the core; an event loop that wants
    // the timer calls this every Timeout milliseconds). Does nothing while Timeout is 0.
    void IdleTimerTick();
    bool Idle() const { return FIdle; }

    // Message 15 unless active (statements check before they run); message 16 when active.
    void CheckInTransaction() const;
    void CheckNotInTransaction() const;

protected:
    // The start itself: the checks, the block, the notices and isc_start_multiple.
    void StartTransactionCore();

private:
    void EndNotices(TTransactionAction action, bool force);
    void AfterEndNotices(TTransactionAction action);
    // The server end of FinishTransaction, with the before-end notices.
    void EndTransaction(TTransactionAction action, bool force);

    isc_tr_handle FHandle = 0;
    TClientLibraryRef FClientLibrary;
    TTransactionState FTransactionState = tsInactive;
    TFIBDatabase* FDefaultDatabase = nullptr;
    int FTimeout = 0;
    TTransactionAction FTimeoutAction = TARollback;
    TParamLines FTRParams;
    std::string FTPB;
    TBoundList<TFIBDatabase> FDatabases;
    TBoundList<IFIBTransactionClient> FSQLObjects;
    bool FSharedHandle = false;
    bool FIdle = false;

    friend class TFIBDatabase;
};

// How TpFIBTransaction fills TRParams at each start.
enum TTPBMode { tpbDefault, tpbReadCommitted, tpbRepeatableRead };

// The transaction the program's components use: starting an active one does nothing,
// and TPBMode decides the parameter lines.
class TpFIBTransaction : public TFIBTransaction {
public:
    using TFIBTransaction::TFIBTransaction;

    void StartTransaction() override;

    TTPBMode TPBMode() const { return FTPBMode; }
    void SetTPBMode(TTPBMode mode) { FTPBMode = mode; }

private:
    TTPBMode FTPBMode = tpbReadCommitted;
};

} // namespace gravlink
