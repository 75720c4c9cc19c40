#include "app/frm_main.h"

#include "app/connection_credentials.h"
#include "app/database_path_codec.h"
#include "app/error_log_failure.h"
#include "app/report_texts.h"
#include "app/settings_file.h"
#include "support/append_file.h"
#include "support/code_page.h"
#include "support/date_time_text.h"
#include "support/date_time_value.h"
#include "support/exception.h"
#include "support/file_system_name.h"
#include "support/standard_error.h"
#include "workflow/input_params_check.h"

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
    // Every statement of the system is text with its values written in.
    FqryDBCheck.SetPrepareObserver(RefuseInputParams);
    FdstStat.SelectQuery().SetPrepareObserver(RefuseInputParams);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::FormCreate(const TCommandLine& commandLine) {
    FAutoMode = IsAutoMode(commandLine);
    FSettingsFile = SettingsFileName(commandLine);
    FExeDir = FolderOf(commandLine.ExecutablePath);
    LoadSettings();
    if (FSettingsDamaged) {
        // Keys after the damage read as empty, and a run without its SqlAutoExt would
        // stamp records its query never wrote: an unattended run stops here.
        ReportSettingsDamage();
        if (FAutoMode)
            return;
    }
    if (FAutoMode) {
        FWindow.SetMinimised();
        FdbsGrav.DBParams().Add("connect_timeout=" + std::to_string(FConnectTimeout));
        if (FReplyTimeout.count() > 0 && SetDBName(FSettings.DBName).ProtocolIndex != 0)
            FReplyWatch.emplace(FdbsGrav, FReplyTimeout);
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
        FSettingsRead = ReadSettingsFile(SettingsPath(), FSettings);
        if (FSettingsRead.State == TSettingsFileState::Damaged)
            FSettingsDamaged = true;
    } catch (...) {
        FSettingsDamaged = true;
        throw;
    }
}

void TfrmMain::ReportSettingsDamage() {
    std::string message =
        Win1251FileName(SettingsPath()) + "\r\n" + ReportTexts().SettingsStoppedAt + " " +
        std::to_string(FSettingsRead.StopPosition) + ": " + FSettingsRead.StopReason;
    if (FAutoMode)
        message += "\r\n" + ReportTexts().ExportNotRun;
    ReportError(ReportTexts().SettingsDamaged, message);
}

void TfrmMain::SaveSettings() {
    if (FSettingsDamaged) {
        KeepDamagedSettingsFile(SettingsPath());
        FSettingsDamaged = false;
        // Unattended, the settings held only what was read before the damage: written
        // back, they would make the next run whole again and let it stamp too much.
        if (FAutoMode)
            return;
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
    const std::string path = FExeDir + "error.log";
    try {
        // Waits for the lock, so that entries of two runs never interleave.
        TAppendFile log(path, TAppendFile::TLockWait::Wait);
        log.Write(DateTimeText(CurrentDateTime()) + ": " + text + "\r\n");
        log.Sync();
    } catch (const EInOutError& failure) {
        throw EErrorLogFailure(failure, path, text);
    }
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
    if (const auto* refused = dynamic_cast<const EErrorLogFailure*>(&failure)) {
        // The log refused a report: the console gets the report, and which file failed
        // and why. Logging that refusal would only fail once more.
        PrintErrorLogFailure(*refused);
        WriteStandardErrorLine(refused->LostText());
        return;
    }
    WriteStandardErrorLine(text);
    try {
        LogError(text);
    } catch (const EErrorLogFailure& logFailure) {
        PrintErrorLogFailure(logFailure);
    } catch (const std::exception& logFailure) {
        WriteStandardErrorLine(TopLevelText(FailureMessage(logFailure)));
    }
}

std::string TopLevelText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

} // namespace gravlink
