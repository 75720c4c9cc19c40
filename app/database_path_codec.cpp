#include "app/database_path_codec.h"

namespace gravlink {

namespace {

constexpr int kLocal = 0;
constexpr int kTcpIp = 1;
constexpr int kNetBeui = 2;
constexpr int kSpx = 3;

// The text before the delimiter at index at, and the text after it.
TDBNameParts SplitAt(int kind, const std::string& text, size_t at) {
    return {kind, text.substr(0, at), text.substr(at + 1)};
}

} // namespace

TDBNameParts SetDBName(const std::string& dbName) {
    const size_t colon = dbName.find(':');
    // A colon as second character is a drive letter: "a:..." reads as a local path.
    if (colon == 1)
        return {kLocal, "", dbName};
    if (colon != std::string::npos && colon > 1)
        return SplitAt(kTcpIp, dbName, colon);
    if (dbName.starts_with("\\\\")) {
        const std::string rest = dbName.substr(2);
        const size_t slash = rest.find('\\');
        if (slash == std::string::npos)
            return {kNetBeui, "", rest};
        return SplitAt(kNetBeui, rest, slash);
    }
    const size_t at = dbName.find('@');
    if (at != std::string::npos)
        return SplitAt(kSpx, dbName, at);
    return {kLocal, "", dbName};
}

std::string GetDBName(const TDBNameParts& parts) {
    switch (parts.ProtocolIndex) {
    case kTcpIp:
        return parts.ServerName + ":" + parts.Database;
    case kNetBeui:
        return "\\\\" + parts.ServerName + "\\" + parts.Database;
    case kSpx:
        return parts.ServerName + "@" + parts.Database;
    default:
        return parts.Database;
    }
}

} // namespace gravlink
