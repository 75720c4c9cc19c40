#include "app/settings_file.h"

#include "support/file_error.h"
#include "support/file_system_name.h"
#include "support/xml_document.h"

#include <filesystem>
#include <system_error>

namespace gravlink {

const std::array<TSettingsKey, 9> SettingsKeys{{
    {"DBName", &TExportSettings::DBName},
    {"ExportDataDir", &TExportSettings::ExportDataDir},
    {"ExportFieldName", &TExportSettings::ExportFieldName},
    {"ExportTableName", &TExportSettings::ExportTableName},
    {"ExportDateFN", &TExportSettings::ExportDateFN},
    {"SqlSelect", &TExportSettings::SqlSelect},
    {"SqlSelectWP", &TExportSettings::SqlSelectWP},
    {"SqlUpdate", &TExportSettings::SqlUpdate},
    {"SqlAutoExt", &TExportSettings::SqlAutoExt},
}};

TSettingsFileRead ReadSettingsFile(const std::string& path, TExportSettings& settings) {
    TmoxXMLParser2 document;
    document.SetName("root");
    if (!std::filesystem::exists(FileSystemPath(path)))
        return {TSettingsFileState::Missing};
    document.LoadXML(path);
    const TmoxXMLNode2& config = document.GetChildByName("Config");
    for (const auto& child : config.Nodes()) {
        // Every child is compared with every key: of repeated keys the last wins.
        for (const TSettingsKey& key : SettingsKeys)
            if (child->Name() == key.Name)
                settings.*key.Member = child->Text();
    }
    if (document.LastError().empty() && document.ReadToEnd())
        return {TSettingsFileState::Complete};
    return {TSettingsFileState::Damaged, document.StopPosition(), document.StopReason()};
}

void WriteSettingsFile(const std::string& path, const TExportSettings& settings) {
    TmoxXMLParser2 document;
    document.SetName("root");
    auto config = std::make_unique<TmoxXMLNode2>();
    config->SetName("Config");
    for (const TSettingsKey& key : SettingsKeys) {
        auto node = std::make_unique<TmoxXMLNode2>();
        node->SetName(key.Name);
        node->SetText(settings.*key.Member);
        config->AddNode(std::move(node));
    }
    document.AddNode(std::move(config));
    document.SaveXML(path);
}

void KeepDamagedSettingsFile(const std::string& path) {
    std::error_code error;
    std::filesystem::copy_file(FileSystemPath(path), FileSystemPath(path + ".bak"),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        RaiseInOutError(error, path + ".bak");
}

std::string UnwrapStampField(const std::string& exportFieldName) {
    const size_t length = exportFieldName.size();
    return length <= 5 ? std::string() : exportFieldName.substr(3, length - 5);
}

std::string WrapStampField(const std::string& middle) {
    return "Exp" + middle + "DT";
}

} // namespace gravlink
