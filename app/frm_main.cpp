#include "app/frm_main.h"

#include "app/settings_file.h"
#include "support/code_page.h"
#include "support/exception.h"

#include <cstdio>

namespace gravlink {

TfrmMain::TfrmMain(IMainWindow& window) : FWindow(window) {}

TfrmMain::~TfrmMain() = default;

void TfrmMain::FormCreate(const TCommandLine& commandLine) {
    FAutoMode = IsAutoMode(commandLine);
    FSettingsFile = SettingsFileName(commandLine);
    FExeDir = FolderOf(commandLine.ExecutablePath);
    LoadSettings();
    if (FAutoMode) {
        FWindow.SetMinimised();
        RefreshView();
        FWindow.PostAutoExport();
    }
}

void TfrmMain::FormShow() {
    // Today, at midnight, is the first day of the period and its last.
    CollapsePeriodPanel();
    RefreshView();
}

void TfrmMain::FormDestroy() {
    SaveSettings();
}

void TfrmMain::WMAutoExport() {
    ExportData();
    FWindow.Close();
}

void TfrmMain::LoadSettings() {
    try {
        if (ReadSettingsFile(SettingsPath(), FSettings) == TSettingsFileState::Damaged)
            FSettingsDamaged = true;
    } catch (...) {
        FSettingsDamaged = true;
        throw;
    }
}

void TfrmMain::SaveSettings() {
    if (FSettingsDamaged) {
        KeepDamagedSettingsFile(SettingsPath());
        FSettingsDamaged = false;
    }
    WriteSettingsFile(SettingsPath(), FSettings);
}

std::string TfrmMain::UnwrapStampField() const {
    return gravlink::UnwrapStampField(FSettings.ExportFieldName);
}

std::string TfrmMain::WrapStampField(const std::string& middle) const {
    return gravlink::WrapStampField(middle);
}

void TfrmMain::ExpandPeriodPanel() {
    FPeriodFilter = true;
    // Designed at 37, shown at 40.
    FWindow.SetPeriodPanelHeight(40);
}

void TfrmMain::CollapsePeriodPanel() {
    FPeriodFilter = false;
    FWindow.SetPeriodPanelHeight(0);
}

void TfrmMain::RefreshView() {}

void TfrmMain::ExportData() {}

void TfrmMain::ReportError(const std::string& ownText, const std::string& message) {
    FFailureReported = true;
    const std::string text = ownText + "\r\n" + message;
    if (!FAutoMode)
        FWindow.ShowMessage(text, false);
}

void TfrmMain::HandleUncaught(const std::exception& failure) {
    FFailureReported = true;
    const std::string text = TopLevelText(FailureMessage(failure));
    if (!FAutoMode) {
        FWindow.ShowMessage(text, true);
        return;
    }
    // Nobody is there to dismiss a box in an unattended run.
    std::fprintf(stderr, "%s\n", Win1251ToUtf8(text).c_str());
}

std::string TopLevelText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

} // namespace gravlink
