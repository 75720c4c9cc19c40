#include "fib/fib_database.h"

#include "fib/database_params.h"
#include "fib/fib_error.h"
#include "fib/fib_transaction.h"

#include <array>
#include <climits>

namespace gravlink {

namespace {

constexpr short InfoBufferSize = 512;

} // namespace

TFIBDatabase::TFIBDatabase(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)), FDBParams([this] { CheckInactive(); }) {
    FInternalTransaction = std::make_unique<TFIBTransaction>(this);
    FInternalTransaction->TRParams().Assign({"write", "nowait", "rec_version", "read_committed"});
    FInternalTransaction->SetDefaultDatabase(this);
}

void TFIBDatabase::EndInternalTransaction() noexcept {
    if (!FInternalTransaction->Active())
        return;
    try {
        FInternalTransaction->Commit();
    } catch (const std::exception&) {
    }
}

TFIBDatabase::~TFIBDatabase() {
    EndInternalTransaction();
    if (Connected()) {
        try {
            Disconnect(true);
        } catch (const std::exception&) {
        }
    }
    FInternalTransaction.reset();
    while (FSQLObjects.Count() > 0) {
        IFIBDatabaseClient* object = FSQLObjects[FSQLObjects.Count() - 1];
        FSQLObjects.Remove(object);
        object->DatabaseFreed(*this);
    }
    while (FTransactions.Count() > 0) {
        TFIBTransaction* transaction = FTransactions[FTransactions.Count() - 1];
        transaction->RemoveDatabase(this);
        FTransactions.Remove(transaction);
    }
}

void TFIBDatabase::CheckActive() const {
    if (!Connected())
        RaiseClientError(feDatabaseClosed, {FullName(this)});
}

void TFIBDatabase::CheckInactive() const {
    if (Connected())
        RaiseClientError(feDatabaseOpen);
}

ISC_STATUS TFIBDatabase::Call(ISC_STATUS result, bool raiseOnError, const TComponent* sender) {
    FIdle = false;
    if (result > 0 && raiseOnError)
        RaiseStatusError(*FClientLibrary, sender);
    return result;
}

void TFIBDatabase::Open() {
    CheckInactive();
    if (FDBName.empty())
        RaiseClientError(feDatabaseNameMissing);
    // The client reads a name only up to a NUL: the part before it could name another
    // database, which would then be exported and stamped.
    if (FDBName.find('\0') != std::string::npos)
        throw EDatabaseError("Database name holds a NUL character.");
    if (!FClientLibrary)
        FClientLibrary = AcquireClientLibrary(FLibraryName);

    FSQLObjects.ForEach(
        [this](IFIBDatabaseClient* object) { object->DatabaseBeforeConnect(*this); });
    if (FDBParams.Changed())
        FDPB = BuildDatabaseParamBlock(FDBParams);

    // The name's length travels as a short; a longer name goes by its end instead
    // (length 0), so that the client never sees it cut short or negative.
    const short nameLength = FDBName.size() <= static_cast<size_t>(SHRT_MAX)
                                 ? static_cast<short>(FDBName.size())
                                 : short{0};
    const ISC_STATUS result =
        FClientLibrary->isc_attach_database(StatusVector(), nameLength, FDBName.c_str(), &FHandle,
                                            static_cast<short>(FDPB.size()), FDPB.data());
    if (result > 0)
        FHandle = 0;
    Call(result);

    const short serverDialect = ServerSqlDialect();
    if (serverDialect < FSQLDialect)
        FSQLDialect = serverDialect;
    FSQLObjects.ForEach(
        [this](IFIBDatabaseClient* object) { object->DatabaseAfterConnect(*this); });
}

void TFIBDatabase::Close() {
    if (Connected())
        Disconnect(false);
}

void TFIBDatabase::SetConnected(bool connected) {
    if (connected)
        Open();
    else
        Close();
}

void TFIBDatabase::Disconnect(bool force) {
    CheckActive();
    // A bound object's failure stops a disconnect that was asked for politely only.
    auto guarded = [force](auto&& step) {
        try {
            step();
        } catch (const std::exception&) {
            if (!force)
                throw;
        }
    };
    FTransactions.ForEach([&](TFIBTransaction* transaction) {
        if (!transaction->Active())
            return;
        // The connection goes away, so nothing may keep a retained context on it.
        TTransactionAction action = transaction->TimeoutAction();
        if (action == TACommitRetaining)
            action = TACommit;
        else if (action == TARollbackRetaining)
            action = TARollback;
        guarded([&] { transaction->FinishTransaction(action, true); });
    });
    FSQLObjects.ForEach([&](IFIBDatabaseClient* object) {
        guarded([&] { object->DatabaseBeforeDisconnect(*this); });
    });
    Call(FClientLibrary->isc_detach_database(StatusVector(), &FHandle), false);
    FHandle = 0;
    FSQLObjects.ForEach(
        [this](IFIBDatabaseClient* object) { object->DatabaseAfterDisconnect(*this); });
}

void TFIBDatabase::ForgetConnection() {
    FHandle = 0;
    FSQLObjects.ForEach([this](IFIBDatabaseClient* object) {
        try {
            object->DatabaseConnectionLost(*this);
        } catch (const std::exception&) {
        }
    });
    FTransactions.ForEach([](TFIBTransaction* transaction) {
        if (!transaction->Active())
            return;
        try {
            transaction->MarkSharedHandle();
            transaction->FinishTransaction(TACommit, true);
        } catch (const std::exception&) {
        }
    });
}

short TFIBDatabase::DatabaseInfoValue(char item) {
    // A connection never opened has no binding to ask through.
    CheckActive();
    std::array<char, InfoBufferSize> answer{};
    Call(FClientLibrary->isc_database_info(StatusVector(), &FHandle, 1, &item, InfoBufferSize,
                                           answer.data()));
    if (answer[0] != item)
        return -1;
    const auto length = static_cast<short>(FClientLibrary->isc_vax_integer(&answer[1], 2));
    return static_cast<short>(FClientLibrary->isc_vax_integer(&answer[3], length));
}

short TFIBDatabase::ServerSqlDialect() {
    const short dialect = DatabaseInfoValue(isc_info_db_sql_dialect);
    return dialect < 0 ? 1 : dialect;
}

void TFIBDatabase::SetDBName(const std::string& name) {
    if (name == FDBName)
        return;
    CheckInactive();
    FDBName = name;
}

void TFIBDatabase::SetSQLDialect(int dialect) {
    if (dialect < 1 || (Connected() && dialect > ServerSqlDialect()))
        RaiseClientError(feSQLDialectInvalid);
    FSQLDialect = dialect;
}

void TFIBDatabase::SetTimeout(int milliseconds) {
    if (milliseconds < 0)
        RaiseClientError(feTimeoutNegative);
    FTimeout = milliseconds;
}

void TFIBDatabase::SetLibraryName(const std::string& name) {
    CheckInactive();
    if (name != FLibraryName)
        FClientLibrary.reset();
    FLibraryName = name;
}

void TFIBDatabase::SetDefaultTransaction(TFIBTransaction* transaction) {
    FDefaultTransaction = transaction;
    if (!transaction)
        return;
    AddTransaction(transaction);
    if (!transaction->DefaultDatabase())
        transaction->SetDefaultDatabase(this);
    else
        transaction->FDatabases.Add(this);
}

void TFIBDatabase::RemoveTransaction(TFIBTransaction* transaction) {
    FTransactions.Remove(transaction);
    if (FDefaultTransaction == transaction)
        FDefaultTransaction = nullptr;
}

void TFIBDatabase::IdleTimerTick() {
    if (FTimeout == 0 || !Connected())
        return;
    if (!FIdle) {
        FIdle = true;
        return;
    }
    Disconnect(true);
}

TpFIBDatabase::~TpFIBDatabase() {
    EndInternalTransaction();
    if (!Connected())
        return;
    try {
        Disconnect(true);
    } catch (const std::exception&) {
    }
}

void TpFIBDatabase::Open() {
    if (Connected())
        return;
    TFIBDatabase::Open();
}

void TpFIBDatabase::Disconnect(bool force) {
    if (!Connected())
        return;
    if (!CheckConnectionAlive()) {
        ForgetConnection();
        return;
    }
    TFIBDatabase::Disconnect(force);
}

bool TpFIBDatabase::CheckConnectionAlive() {
    try {
        DatabaseInfoValue(isc_info_base_level);
        return true;
    } catch (const EFIBError&) {
        return false;
    }
}

} // namespace gravlink
