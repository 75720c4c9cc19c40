#pragma once

#include <string>

namespace gravlink {

// The statements that set and clear export stamps. Table and column names come
// from the settings and stand unquoted; a stamp is the timestamp literal text
// without its quotes; a key is a literal as KeyLiteral makes it.

// The export's stamping of every unstamped record, followed by the configured
// extra conditions ("and confirm is null").
std::string StampUnexportedSql(const std::string& table, const std::string& field,
                               const std::string& stamp, const std::string& sqlAutoExt);
std::string StampOneSql(const std::string& table, const std::string& field,
                        const std::string& stamp, const std::string& key);
std::string ClearOneSql(const std::string& table, const std::string& field, const std::string& key);
std::string StampAllSql(const std::string& table, const std::string& field,
                        const std::string& stamp);
std::string ClearAllSql(const std::string& table, const std::string& field);

// A record key as SQL: an integer as its digits, anything else as a string
// literal with its apostrophes doubled, so a key is data, never SQL.
std::string KeyLiteral(const std::string& keyText, bool isInteger);

} // namespace gravlink
