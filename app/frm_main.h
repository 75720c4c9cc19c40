#pragma once

#include "app/command_line.h"
#include "app/export_settings.h"
#include "app/main_window.h"
#include "app/settings_file.h"
#include "fib/fib_component.h"
#include "fib/fib_database.h"
#include "fib/fib_dataset.h"
#include "fib/fib_query.h"
#include "fib/fib_transaction.h"
#include "fib/reply_watch.h"

#include <chrono>
#include <exception>
#include <functional>
#include <optional>
#include <string>

namespace gravlink {

// The main controller: owns the settings, the mode and the database objects, and
// carries out every start-up step, command and the unattended export. The window
// it drives is reached only through IMainWindow.
class TfrmMain {
public:
    explicit TfrmMain(IMainWindow& window);
    ~TfrmMain();
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;

    // Window events.
    void FormCreate(const TCommandLine& commandLine);
    void FormShow();
    void FormDestroy();
    void WMAutoExport();

    // The settings file beside the executable.
    void LoadSettings();
    void SaveSettings();
    std::string UnwrapStampField() const;
    std::string WrapStampField(const std::string& middle) const;

    // The period panel and the filter it stands for.
    void ExpandPeriodPanel();
    void CollapsePeriodPanel();
    TDateTime PeriodBegin() const;
    TDateTime PeriodEnd() const;
    std::string PeriodCondition() const;

    // The record view.
    void RefreshView();
    bool ConnectDatabase();
    void DisconnectDatabase();
    std::string BuildViewSql() const;
    bool CheckStampColumn();

    // The export run.
    void ExportData();

    // Commands and picker changes.
    void actRefreshExecute();
    void actExpandExecute();
    void dtpDateBeginChange();
    void dtpDateEndChange();
    void actExportNowExecute();
    void actCheckExecute();
    void actClearOneExecute();
    void actCheckAllExecute();
    void actClearAllExecute();
    void actSettingsExecute();

    // Hands a failure to the operator, or to the error log in an unattended run.
    void ReportError(const std::string& ownText, const std::string& message);
    // Appends one entry to the error log beside the executable.
    void LogError(const std::string& text);
    // The top-level handler: a failure that no operation caught.
    void HandleUncaught(const std::exception& failure);
    // Runs an event handler under the top-level handler.
    template <class Handler> void Guarded(Handler&& handler) {
        try {
            handler();
        } catch (const std::exception& failure) {
            HandleUncaught(failure);
        }
    }

    bool AutoMode() const { return FAutoMode; }
    const std::string& ExeDir() const { return FExeDir; }
    const std::string& SettingsFile() const { return FSettingsFile; }
    TExportSettings& Settings() { return FSettings; }
    const TExportSettings& Settings() const { return FSettings; }
    bool PeriodFilter() const { return FPeriodFilter; }
    TpFIBDatabase& dbsGrav() { return FdbsGrav; }
    TpFIBTransaction& trnEdit() { return FtrnEdit; }
    TpFIBDataSet& dstStat() { return FdstStat; }
    TpFIBQuery& qryDBCheck() { return FqryDBCheck; }
    // What the last export run did; none when it failed.
    struct TExportCounts {
        long long LinesWritten = 0;
        long long RecordsStamped = 0;
    };
    const std::optional<TExportCounts>& LastExport() const { return FLastExport; }
    // How long an unattended run waits for the server to answer its connect; set
    // before FormCreate.
    void SetConnectTimeout(int seconds) { FConnectTimeout = seconds; }
    // How long an unattended run waits for the server's answer to one call before it
    // gives the connection up; zero waits without a bound. Set before FormCreate.
    void SetReplyTimeout(std::chrono::milliseconds bound) { FReplyTimeout = bound; }
    // 0 when nothing was reported during the run, 1 when any failure was.
    int ExitStatus() const { return FFailureReported ? 1 : 0; }

private:
    std::string SettingsPath() const { return FExeDir + FSettingsFile; }
    // Names the damaged settings file and where reading it stopped.
    void ReportSettingsDamage();
    // The key of the view's current record as SQL.
    std::string CurrentKeyLiteral();
    // Builds one marking statement, runs and commits it, reports a failure, and
    // reopens the view.
    // progress is what the window shows while the statement runs.
    void ExecuteMarking(const std::function<std::string()>& statement,
                        const std::string& progress = {});
    // The statement limited to the period while the filter is on.
    std::string WithinPeriod(std::string sqlText) const;

    IMainWindow& FWindow;
    // Names the components, so that database failures read "frmMain.dbsGrav: ...".
    TComponent FName{nullptr, "frmMain"};
    TpFIBDatabase FdbsGrav{&FName, "dbsGrav"};
    TpFIBTransaction FtrnEdit{&FName, "trnEdit"};
    TpFIBDataSet FdstStat{&FName, "dstStat"};
    TpFIBQuery FqryDBCheck{&FName, "qryDBCheck"};
    bool FAutoMode = false;
    std::string FExeDir;
    std::string FSettingsFile;
    TExportSettings FSettings;
    bool FPeriodFilter = false;
    // The settings file existed but was not read to its end.
    bool FSettingsDamaged = false;
    TSettingsFileRead FSettingsRead;
    bool FFailureReported = false;
    std::optional<TExportCounts> FLastExport;
    // Nobody waits for a scheduled run: a server that takes the connection but never
    // answers must not hold it for ever.
    int FConnectTimeout = 30;
    // Nor a server that stopped while it held the connection. Far longer than any
    // call of a sound site takes, the sort before a million rows or the stamping of a
    // million records included.
    std::chrono::milliseconds FReplyTimeout = std::chrono::minutes(10);
    // Armed for the unattended run through a server (an embedded database has none that
    // could stop); goes before the connection it watches. It takes the calls of the
    // thread that arms it, the one the unattended road runs its export on.
    std::optional<TReplyWatch> FReplyWatch;
};

// The top-level handler's text: the message, with a full stop appended when its
// last character has a code above that of ".".
std::string TopLevelText(const std::string& message);

} // namespace gravlink
