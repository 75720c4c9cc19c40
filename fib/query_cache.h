#pragma once

#include "fib/bound_objects.h"
#include "fib/fib_query.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace gravlink {

// The pooled statements of one connection: the free ones keyed by text (trailing
// blanks and line breaks do not count), and those
// handed out. They have no owner or name and stay prepared between uses; they go
// when the connection is destroyed or the program ends.
class TCacheQueries : public IFIBDatabaseClient {
public:
    explicit TCacheQueries(TFIBDatabase& database);
    ~TCacheQueries();
    TCacheQueries(const TCacheQueries&) = delete;
    TCacheQueries& operator=(const TCacheQueries&) = delete;

    // A free statement of that text switched to transaction, or a new one; recorded as
    // handed out, its cursor closed.
    TpFIBQuery& Acquire(TFIBTransaction& transaction, const std::string& sql);
    // False when the statement was not handed out by this pool.
    bool Release(TpFIBQuery& query);

    TFIBDatabase* Database() const { return FDatabase; }
    size_t FreeCount() const { return FFree.size(); }
    size_t UsedCount() const { return FUsed.size(); }

    void DatabaseBeforeDisconnect(TFIBDatabase&) override {}
    void DatabaseFreed(TFIBDatabase& database) override;

private:
    TFIBDatabase* FDatabase;
    std::multimap<std::string, std::unique_ptr<TpFIBQuery>> FFree;
    // Handed-out statements with the key they go back under.
    std::vector<std::pair<std::string, std::unique_ptr<TpFIBQuery>>> FUsed;
};

// The process-wide pool: one TCacheQueries per connection. Look-ups and hand-backs
// are serialised by one lock.
class TCacheList {
public:
    static TCacheList& Instance();

    // Null without a transaction or when the transaction has no default database.
    TpFIBQuery* AcquireQuery(TFIBTransaction* transaction, const std::string& sql);
    void ReleaseQuery(TpFIBQuery* query);

    // The pool of a connection; null when it has none yet.
    const TCacheQueries* QueriesOf(const TFIBDatabase& database);

private:
    friend class TCacheQueries;
    TCacheList() = default;
    // The connection is going: its statements go with it.
    void DatabaseGone(TFIBDatabase* database);

    std::mutex FLock;
    std::map<TFIBDatabase*, std::unique_ptr<TCacheQueries>> FDatabases;
};

// TCacheList::Instance().AcquireQuery / ReleaseQuery.
TpFIBQuery* AcquireQuery(TFIBTransaction* transaction, const std::string& sql);
void ReleaseQuery(TpFIBQuery* query);

} // namespace gravlink
