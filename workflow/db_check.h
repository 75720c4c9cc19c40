#pragma once

#include <string>

namespace gravlink {

class TFIBQuery;

// Makes sure the export-stamp column exists, adding it as a timestamp when it
// does not. Knows nothing of the controller: it is given the statement, whose
// connection is searched and whose transaction runs the schema change.
namespace DBCheck {

// Adds the column when FieldExists does not find it. Only a failure to roll back
// a failed schema change leaves it.
void EnsureStampColumn(TFIBQuery& query, const std::string& table, const std::string& column);
// Whether the table has the column, letter case aside; a failure to read the
// names counts as "no".
bool FieldExists(TFIBQuery& query, const std::string& table, const std::string& column);
// Runs and commits a schema statement; a failure is rolled back and not reported.
void ExecDDL(TFIBQuery& query, const std::string& text);

} // namespace DBCheck
} // namespace gravlink
