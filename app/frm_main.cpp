#include "app/frm_main.h"

#include "app/connection_credentials.h"
#include "app/settings_file.h"
#include "support/append_file.h"
#include "support/code_page.h"
#include "support/date_time_text.h"
#include "support/date_time_value.h"
#include "support/exception.h"

#include <cstdio>

namespace gravlink {

TfrmMain::TfrmMain(IMainWindow& window) : FWindow(window) {
    FdbsGrav.DBParams().Assign(ConnectionParamLinesOfEnvironment());
    FdbsGrav.SetSQLDialect(3);
    FdbsGrav.SetTimeout(0);
    FdbsGrav.SetDefaultTransaction(&FtrnEdit);
    FtrnEdit.SetDefaultDatabase(&FdbsGrav);
    FtrnEdit.SetTimeoutAction(TARollback);
    FdstStat.SetDatabase(&FdbsGrav);
    FdstStat.SetTransaction(&FtrnEdit);
    FdstStat.DefaultFormats().DateTimeDisplayFormat = "dd.mm.yyyy hh:mm";
    FdstStat.SetPrepareOptions(FdstStat.PrepareOptions() | psSQLINT64ToBCD);
    FqryDBCheck.SetDatabase(&FdbsGrav);
    FqryDBCheck.SetTransaction(&FtrnEdit);
    FqryDBCheck.SetOptions({});
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::FormCreate(const TCommandLine& commandLine) {
    FAutoMode = IsAutoMode(commandLine);
    FSettingsFile = SettingsFileName(commandLine);
    FExeDir = FolderOf(commandLine.ExecutablePath);
    LoadSettings();
    if (FAutoMode) {
        FWindow.SetMinimised();
        // A failure that even the log could not take must not keep the export from
        // being posted: the window is never shown, so nobody would ever close it.
        Guarded([this] { RefreshView(); });
        FWindow.PostAutoExport();
    }
}

void TfrmMain::FormShow() {
    // Today is the first day of the period and its last.
    FWindow.SetPickerDates(DatePart(CurrentDateTime()));
    CollapsePeriodPanel();
    RefreshView();
}

void TfrmMain::FormDestroy() {
    SaveSettings();
    DisconnectDatabase();
}

void TfrmMain::WMAutoExport() {
    // A failure that even the report could not take (the log unwritable) goes to
    // the top-level handler here, so that the scheduled run still ends by itself.
    Guarded([this] { ExportData(); });
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

void TfrmMain::ReportError(const std::string& ownText, const std::string& message) {
    FFailureReported = true;
    const std::string text = ownText + "\r\n" + message;
    if (FAutoMode)
        LogError(text);
    else
        FWindow.ShowMessage(text, false);
}

void TfrmMain::LogError(const std::string& text) {
    // Waits for the lock, so that entries of two runs never interleave.
    TAppendFile log(FExeDir + "error.log", TAppendFile::TLockWait::Wait);
    log.Write(DateTimeText(CurrentDateTime()) + ": " + text + "\r\n");
    log.Sync();
}

void TfrmMain::HandleUncaught(const std::exception& failure) {
    FFailureReported = true;
    const std::string text = TopLevelText(FailureMessage(failure));
    if (!FAutoMode) {
        FWindow.ShowMessage(text, true);
        return;
    }
    // Nobody is there to dismiss a box in an unattended run: the log and whoever
    // reads the scheduler's output learn of it instead.
    std::fprintf(stderr, "%s\n", Win1251ToUtf8(text).c_str());
    try {
        LogError(text);
    } catch (const std::exception& logFailure) {
        std::fprintf(stderr, "%s\n",
                     Win1251ToUtf8(TopLevelText(FailureMessage(logFailure))).c_str());
    }
}

std::string TopLevelText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

} // namespace gravlink
