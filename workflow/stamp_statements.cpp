#include "workflow/stamp_statements.h"

namespace gravlink {

std::string StampUnexportedSql(const std::string& table, const std::string& field,
                               const std::string& stamp, const std::string& sqlAutoExt) {
    return "update " + table + " set " + field + " = '" + stamp + "' where " + field + " is null " +
           sqlAutoExt;
}

std::string StampOneSql(const std::string& table, const std::string& field,
                        const std::string& stamp, const std::string& key) {
    return "update " + table + " set " + field + " = '" + stamp + "' where idr = " + key;
}

std::string ClearOneSql(const std::string& table, const std::string& field,
                        const std::string& key) {
    return "update " + table + " set " + field + " = null where idr = " + key;
}

std::string StampAllSql(const std::string& table, const std::string& field,
                        const std::string& stamp) {
    return "update " + table + " set " + field + " = '" + stamp + "' where " + field + " is null";
}

std::string ClearAllSql(const std::string& table, const std::string& field) {
    return "update " + table + " set " + field + " = null where not (" + field + " is null)";
}

std::string KeyLiteral(const std::string& keyText, bool isInteger) {
    if (isInteger)
        return keyText;
    std::string literal = "'";
    for (char c : keyText) {
        literal += c;
        if (c == '\'')
            literal += '\'';
    }
    return literal + "'";
}

} // namespace gravlink
