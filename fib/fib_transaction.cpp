#include "fib/fib_transaction.h"

#include "fib/fib_database.h"
#include "fib/fib_error.h"
#include "fib/transaction_params.h"

#include <vector>

namespace gravlink {

namespace {

// One database of a transaction as isc_start_multiple reads it.
struct TISCTEB {
    isc_db_handle* Database;
    int TPBLength;
    const char* TPB;
};

} // namespace

TFIBTransaction::TFIBTransaction(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)), FTRParams([this] { CheckNotInTransaction(); }) {}

TFIBTransaction::~TFIBTransaction() {
    if (Active()) {
        TTransactionAction action = FTimeoutAction;
        if (action == TARollbackRetaining)
            action = TARollback;
        else if (action == TACommitRetaining)
            action = TACommit;
        try {
            FinishTransaction(action, true);
        } catch (const std::exception&) {
        }
    }
    while (FSQLObjects.Count() > 0) {
        IFIBTransactionClient* object = FSQLObjects[FSQLObjects.Count() - 1];
        FSQLObjects.Remove(object);
        object->TransactionFreed(*this);
    }
    while (FDatabases.Count() > 0)
        RemoveDatabase(FDatabases[FDatabases.Count() - 1]);
}

void TFIBTransaction::CheckInTransaction() const {
    if (!Active())
        RaiseClientError(feNotInTransaction, {FullName(this)});
}

void TFIBTransaction::CheckNotInTransaction() const {
    if (Active())
        RaiseClientError(feInTransaction, {FullName(this)});
}

const IIBClientLibrary& TFIBTransaction::ClientLibrary() const {
    if (FClientLibrary)
        return *FClientLibrary;
    if (FDatabases.Count() == 0 || !FDatabases[0]->ClientLibrary())
        RaiseClientError(feNoDatabasesInTransaction, {FullName(this)});
    return *FDatabases[0]->ClientLibrary();
}

ISC_STATUS TFIBTransaction::Call(ISC_STATUS result, bool raiseOnError, const TComponent* sender) {
    FIdle = false;
    FDatabases.ForEach([](TFIBDatabase* database) { database->ClearIdle(); });
    if (result > 0 && raiseOnError)
        RaiseStatusError(ClientLibrary(), sender);
    return result;
}

void TFIBTransaction::SetActive(bool active) {
    if (active && !Active())
        StartTransaction();
    else if (!active && Active())
        Rollback();
}

void TFIBTransaction::SetDefaultDatabase(TFIBDatabase* database) {
    if (database == FDefaultDatabase)
        return;
    CheckNotInTransaction();
    if (FDefaultDatabase)
        RemoveDatabase(FDefaultDatabase);
    FDefaultDatabase = database;
    AddDatabase(database);
}

void TFIBTransaction::AddDatabase(TFIBDatabase* database) {
    if (!database)
        return;
    FDatabases.Add(database);
    database->AddTransaction(this);
}

void TFIBTransaction::RemoveDatabase(TFIBDatabase* database) {
    if (!database)
        return;
    FDatabases.Remove(database);
    database->RemoveTransaction(this);
    if (FDefaultDatabase == database)
        FDefaultDatabase = nullptr;
}

void TFIBTransaction::SetTimeout(int milliseconds) {
    if (milliseconds < 0)
        RaiseClientError(feTimeoutNegative);
    FTimeout = milliseconds;
}

void TFIBTransaction::SQLExecuteNotice(TComponent&, bool) {}

void TFIBTransaction::StartTransaction() {
    StartTransactionCore();
}

void TFIBTransaction::StartTransactionCore() {
    CheckNotInTransaction();
    if (FDatabases.Count() == 0)
        RaiseClientError(feNoDatabasesInTransaction, {FullName(this)});
    if (FTRParams.Changed())
        FTPB = BuildTransactionParamBlock(FTRParams);

    std::vector<TISCTEB> blocks;
    FDatabases.ForEach([&](TFIBDatabase* database) {
        database->CheckActive();
        blocks.push_back({database->Handle(), static_cast<int>(FTPB.size()), FTPB.data()});
    });

    FSQLObjects.ForEach(
        [this](IFIBTransactionClient* object) { object->TransactionBeforeStart(*this); });
    // Kept while active, so the end never depends on the connections still being listed.
    FClientLibrary = FDatabases[0]->ClientLibrary();
    const ISC_STATUS result = ClientLibrary().isc_start_multiple(
        StatusVector(), &FHandle, static_cast<short>(blocks.size()), blocks.data());
    if (result > 0)
        FHandle = 0;
    Call(result);
    FSQLObjects.ForEach(
        [this](IFIBTransactionClient* object) { object->TransactionAfterStart(*this); });
    FTransactionState = tsActive;
}

void TFIBTransaction::EndNotices(TTransactionAction action, bool force) {
    FSQLObjects.ForEachBackward([&](IFIBTransactionClient* object) {
        try {
            object->TransactionBeforeEnd(*this, action);
        } catch (const std::exception&) {
            // A forced end happens whatever the bound objects say.
            if (!force)
                throw;
        }
    });
}

void TFIBTransaction::AfterEndNotices(TTransactionAction action) {
    FSQLObjects.ForEachBackward(
        [&](IFIBTransactionClient* object) { object->TransactionAfterEnd(*this, action); });
}

void TFIBTransaction::FinishTransaction(TTransactionAction action, bool force) {
    CheckInTransaction();
    try {
        EndTransaction(action, force);
    } catch (...) {
        // A refused end, or a bound object that failed to let go, leaves the work pending.
        FTransactionState = Active() ? tsActive : tsInactive;
        throw;
    }
    AfterEndNotices(action);
    FTransactionState = Active() ? tsActive : tsInactive;
    if (!Active())
        FClientLibrary.reset();
}

void TFIBTransaction::EndTransaction(TTransactionAction action, bool force) {
    const IIBClientLibrary& library = ClientLibrary();
    if (action == TARollback || action == TACommit) {
        FTransactionState = action == TACommit ? tsCommitting : tsRollingBack;
        EndNotices(action, force);
        ISC_STATUS result = 0;
        if (FSharedHandle) {
            FHandle = 0;
            FSharedHandle = false;
        } else if (action == TACommit) {
            result = Call(library.isc_commit_transaction(StatusVector(), &FHandle), false);
        } else {
            result = Call(library.isc_rollback_transaction(StatusVector(), &FHandle), false);
        }
        if (result > 0) {
            if (!force)
                RaiseStatusError(library, this);
            Call(library.isc_rollback_transaction(StatusVector(), &FHandle), false);
            FHandle = 0;
        }
    } else {
        FTransactionState =
            action == TACommitRetaining ? tsCommittingRetaining : tsRollingBackRetaining;
        EndNotices(action, force);
        Call(action == TACommitRetaining
                 ? library.isc_commit_retaining(StatusVector(), &FHandle)
                 : library.isc_rollback_retaining(StatusVector(), &FHandle));
    }
}

void TFIBTransaction::IdleTimerTick() {
    if (FTimeout == 0 || !Active())
        return;
    if (!FIdle) {
        FIdle = true;
        return;
    }
    FinishTransaction(FTimeoutAction, true);
}

void TpFIBTransaction::StartTransaction() {
    if (Active())
        return;
    if (FTPBMode == tpbReadCommitted) {
        TRParams().Assign({"write", "nowait", "rec_version", "read_committed"});
    } else if (FTPBMode == tpbRepeatableRead) {
        // rec_version belongs to read_committed alone: Firebird 3 refuses it in a
        // snapshot, so the snapshot is asked for by name instead.
        TRParams().Assign({"write", "nowait", "concurrency"});
    }
    StartTransactionCore();
}

} // namespace gravlink
