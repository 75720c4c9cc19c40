#pragma once

#include "app/command_line.h"
#include "app/export_settings.h"
#include "app/main_window.h"

#include <exception>
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

    // The record view and the export.
    void RefreshView();
    void ExportData();

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
    // 0 when nothing was reported during the run, 1 when any failure was.
    int ExitStatus() const { return FFailureReported ? 1 : 0; }

private:
    std::string SettingsPath() const { return FExeDir + FSettingsFile; }

    IMainWindow& FWindow;
    bool FAutoMode = false;
    std::string FExeDir;
    std::string FSettingsFile;
    TExportSettings FSettings;
    bool FPeriodFilter = false;
    // The settings file existed but was not read to its end.
    bool FSettingsDamaged = false;
    bool FFailureReported = false;
};

// The top-level handler's text: the message, with a full stop appended when its
// last character has a code above that of ".".
std::string TopLevelText(const std::string& message);

} // namespace gravlink
