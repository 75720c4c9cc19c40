#pragma once

#include "app/database_path_codec.h"

#include <string>

namespace gravlink {

// What the settings dialog edits, as its fields hold it: DBName split into its
// parts, the stamp column without "Exp" and "DT". Windows-1251 text, CR LF.
struct TSettingsDialogFields {
    TDBNameParts Connection;
    std::string ExportDataDir;
    std::string ExportFieldName;
    std::string ExportTableName;
    std::string ExportDateFN;
    std::string SqlSelect;
    std::string SqlSelectWP;
    std::string SqlUpdate;
    std::string SqlAutoExt;

    bool operator==(const TSettingsDialogFields&) const = default;
};

} // namespace gravlink
