#include "fib/fib_database.h"
#include "fib/fib_transaction.h"
#include "fib/query_cache.h"

namespace gravlink {

namespace {

constexpr const char* FieldNamesSQL = "Select RDB$FIELD_NAME  from RDB$RELATION_FIELDS R where "
                                      "R.RDB$RELATION_NAME = :TN ORDER BY R.RDB$FIELD_POSITION ";

std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace

void TpFIBDatabase::GetFieldNames(const std::string& table, std::vector<std::string>& list) {
    CheckActive();
    TFIBTransaction& transaction = InternalTransaction();
    TpFIBQuery* query = AcquireQuery(&transaction, FieldNamesSQL);
    list.clear();
    // Whatever happens, the internal transaction ends and the statement goes back; a
    // failure of the look-up outranks one of the commit after it.
    try {
        query->Close();
        query->SetOptions(qoStartTransaction | qoTrimCharFields);
        query->Params(0).SetAsString(SQLDialect() == 1 ? AsciiUpper(table) : table);
        query->ExecQuery();
        while (!query->Eof()) {
            list.push_back(query->Fields(0).AsString());
            query->Next();
        }
    } catch (...) {
        try {
            if (transaction.Active())
                transaction.Commit();
        } catch (const std::exception&) {
        }
        ReleaseQuery(query);
        throw;
    }
    try {
        if (transaction.Active())
            transaction.Commit();
    } catch (...) {
        ReleaseQuery(query);
        throw;
    }
    ReleaseQuery(query);
}

} // namespace gravlink
