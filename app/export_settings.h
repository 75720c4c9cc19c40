#pragma once

#include <string>

namespace gravlink {

// The nine settings, Windows-1251 text, named after their keys in the settings file.
struct TExportSettings {
    std::string DBName;
    std::string ExportDataDir;
    std::string ExportFieldName;
    std::string ExportTableName;
    std::string ExportDateFN;
    std::string SqlSelect;
    std::string SqlSelectWP;
    std::string SqlUpdate;
    std::string SqlAutoExt;

    bool operator==(const TExportSettings&) const = default;
};

} // namespace gravlink
