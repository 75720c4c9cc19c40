#include "fib/query_cache.h"

#include "fib/fib_database.h"
#include "fib/fib_transaction.h"

#include <algorithm>

namespace gravlink {

TCacheQueries::TCacheQueries(TFIBDatabase& database) : FDatabase(&database) {
    FDatabase->AddSQLObject(this);
}

TCacheQueries::~TCacheQueries() {
    if (FDatabase)
        FDatabase->RemoveSQLObject(this);
}

namespace {

std::string PoolKey(const std::string& sql) {
    size_t end = sql.size();
    while (end > 0 && static_cast<unsigned char>(sql[end - 1]) <= 32)
        --end;
    return sql.substr(0, end);
}

} // namespace

TpFIBQuery& TCacheQueries::Acquire(TFIBTransaction& transaction, const std::string& sql) {
    std::string key = PoolKey(sql);
    auto found = FFree.find(key);
    std::unique_ptr<TpFIBQuery> query;
    if (found != FFree.end()) {
        query = std::move(found->second);
        FFree.erase(found);
        query->SetTransaction(&transaction);
    } else {
        query = std::make_unique<TpFIBQuery>();
        query->SetDatabase(FDatabase);
        query->SetTransaction(&transaction);
        query->SetSQL(sql);
    }
    TpFIBQuery& result = *query;
    FUsed.emplace_back(std::move(key), std::move(query));
    result.Close();
    return result;
}

bool TCacheQueries::Release(TpFIBQuery& query) {
    auto found = std::find_if(FUsed.begin(), FUsed.end(),
                              [&](const auto& used) { return used.second.get() == &query; });
    if (found == FUsed.end())
        return false;
    auto released = std::move(*found);
    FUsed.erase(found);
    FFree.emplace(std::move(released.first), std::move(released.second));
    return true;
}

void TCacheQueries::DatabaseFreed(TFIBDatabase& database) {
    FDatabase = nullptr;
    // Destroys this pool; nothing of it may be touched afterwards.
    TCacheList::Instance().DatabaseGone(&database);
}

TCacheList& TCacheList::Instance() {
    static TCacheList list;
    return list;
}

TpFIBQuery* TCacheList::AcquireQuery(TFIBTransaction* transaction, const std::string& sql) {
    if (!transaction || !transaction->DefaultDatabase())
        return nullptr;
    TFIBDatabase* database = transaction->DefaultDatabase();
    std::lock_guard lock(FLock);
    auto& queries = FDatabases[database];
    if (!queries)
        queries = std::make_unique<TCacheQueries>(*database);
    return &queries->Acquire(*transaction, sql);
}

void TCacheList::ReleaseQuery(TpFIBQuery* query) {
    if (!query)
        return;
    std::lock_guard lock(FLock);
    for (auto& [database, queries] : FDatabases)
        if (queries->Release(*query))
            return;
}

const TCacheQueries* TCacheList::QueriesOf(const TFIBDatabase& database) {
    std::lock_guard lock(FLock);
    auto found = FDatabases.find(const_cast<TFIBDatabase*>(&database));
    return found == FDatabases.end() ? nullptr : found->second.get();
}

void TCacheList::DatabaseGone(TFIBDatabase* database) {
    std::unique_ptr<TCacheQueries> gone;
    {
        std::lock_guard lock(FLock);
        auto found = FDatabases.find(database);
        if (found == FDatabases.end())
            return;
        gone = std::move(found->second);
        FDatabases.erase(found);
    }
}

TpFIBQuery* AcquireQuery(TFIBTransaction* transaction, const std::string& sql) {
    return TCacheList::Instance().AcquireQuery(transaction, sql);
}

void ReleaseQuery(TpFIBQuery* query) {
    TCacheList::Instance().ReleaseQuery(query);
}

} // namespace gravlink
