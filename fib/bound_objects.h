#pragma once

#include <algorithm>
#include <vector>

namespace gravlink {

class TFIBDatabase;
class TFIBTransaction;

// How a transaction ends. TransactionState tells the bound objects which end is under
// way while they are being told.
enum TTransactionAction { TARollback, TARollbackRetaining, TACommit, TACommitRetaining };

// A statement or data set bound to a connection (TFIBDatabase::AddSQLObject). The
// connection tells it, in list order, what happens to the attachment. A reaction may
// throw: during a disconnect without force the failure propagates and the connection
// stays open; with force it is ignored.
class IFIBDatabaseClient {
public:
    // Around the attach of TFIBDatabase::Open. Nothing in the system acts on them.
    virtual void DatabaseBeforeConnect(TFIBDatabase&) {}
    virtual void DatabaseAfterConnect(TFIBDatabase&) {}
    // Before the detach: a statement closes its cursor and releases its statement
    // handle; an open data set closes.
    virtual void DatabaseBeforeDisconnect(TFIBDatabase&) = 0;
    // After the detach; the handle is already 0.
    virtual void DatabaseAfterDisconnect(TFIBDatabase&) {}
    // The server went away (ForgetConnection): a statement sets its statement handle to
    // 0 without a server call, clears its cursor flags and counts as unprepared. Data
    // sets need not act: the end of their transaction follows and closes them.
    virtual void DatabaseConnectionLost(TFIBDatabase&) {}
    // The connection is being destroyed: drop every reference to it. The object is
    // already off the connection's list.
    virtual void DatabaseFreed(TFIBDatabase&) = 0;

protected:
    ~IFIBDatabaseClient() = default;
};

// A statement or data set bound to a transaction (TFIBTransaction::AddSQLObject).
class IFIBTransactionClient {
public:
    // Around isc_start_multiple, in list order. Nothing in the system acts on them.
    virtual void TransactionBeforeStart(TFIBTransaction&) {}
    virtual void TransactionAfterStart(TFIBTransaction&) {}
    // Before the server ends the transaction, from the last bound object to the first.
    // Read transaction.TransactionState(): in tsRollingBack and tsCommitting (Commit,
    // Rollback and every forced end) a statement closes its open cursor and a data set
    // closes; in the retaining states nothing acts.
    virtual void TransactionBeforeEnd(TFIBTransaction&, TTransactionAction) = 0;
    // After the end succeeded, from the last bound object to the first.
    virtual void TransactionAfterEnd(TFIBTransaction&, TTransactionAction) {}
    // The transaction is being destroyed: drop every reference to it. The object is
    // already off the transaction's list.
    virtual void TransactionFreed(TFIBTransaction&) = 0;

protected:
    ~IFIBTransactionClient() = default;
};

// An ordered list of bound objects. An object keeps its place; removing one moves the
// last entry into the freed place. Entries may leave the list while it is being
// walked: walks go by position and re-check the count.
template <class T> class TBoundList {
public:
    size_t Count() const { return FItems.size(); }
    T* operator[](size_t index) const { return FItems[index]; }
    bool Contains(const T* item) const {
        return std::find(FItems.begin(), FItems.end(), item) != FItems.end();
    }

    void Add(T* item) {
        if (item && !Contains(item))
            FItems.push_back(item);
    }
    void Remove(const T* item) {
        auto found = std::find(FItems.begin(), FItems.end(), item);
        if (found == FItems.end())
            return;
        *found = FItems.back();
        FItems.pop_back();
    }

    // Calls action for each entry, first to last.
    template <class Action> void ForEach(Action&& action) const {
        for (size_t i = 0; i < FItems.size(); ++i)
            action(FItems[i]);
    }
    // Calls action for each entry, last to first.
    template <class Action> void ForEachBackward(Action&& action) const {
        for (size_t i = FItems.size(); i-- > 0;)
            if (i < FItems.size())
                action(FItems[i]);
    }

private:
    std::vector<T*> FItems;
};

} // namespace gravlink
