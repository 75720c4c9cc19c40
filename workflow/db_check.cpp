#include "workflow/db_check.h"

#include "fib/fib_database.h"
#include "fib/fib_query.h"
#include "fib/fib_transaction.h"
#include "support/letter_case.h"

#include <algorithm>
#include <vector>

namespace gravlink::DBCheck {

void EnsureStampColumn(TFIBQuery& query, const std::string& table, const std::string& column) {
    if (!FieldExists(query, table, column))
        ExecDDL(query, "ALTER TABLE " + table + " ADD " + column + " TimesTamp");
}

bool FieldExists(TFIBQuery& query, const std::string& table, const std::string& column) {
    std::vector<std::string> names;
    auto* database = dynamic_cast<TpFIBDatabase*>(query.Database());
    if (database == nullptr)
        return false;
    try {
        database->GetFieldNames(table, names);
    } catch (const std::exception&) {
        // The check stays silent: statements that need the column report instead.
        return false;
    }
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return SameTextIgnoringCase(name, column); });
}

void ExecDDL(TFIBQuery& query, const std::string& text) {
    TFIBTransaction& transaction = *query.Transaction();
    try {
        transaction.StartTransaction();
        query.SetSQL(text);
        query.ExecQuery();
        transaction.Commit();
    } catch (const std::exception&) {
        if (transaction.Active())
            transaction.Rollback();
    }
}

} // namespace gravlink::DBCheck
