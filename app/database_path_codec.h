#pragma once

#include <string>

namespace gravlink {

// DBName as the settings dialog shows it: the connection kind (the item index of
// cmbProtocol: 0 local, 1 TCP/IP, 2 NetBEUI, 3 SPX), the server and the path.
struct TDBNameParts {
    int ProtocolIndex = 0;
    std::string ServerName;
    std::string Database;

    bool operator==(const TDBNameParts&) const = default;
};

// Splits a DBName in the client library's connection-string form. A ":" beyond the
// second character wins over a leading "\\" and over "@": such a text is TCP/IP.
TDBNameParts SetDBName(const std::string& dbName);
// Joins the parts in the form of their kind; a local path drops the server.
std::string GetDBName(const TDBNameParts& parts);

} // namespace gravlink
