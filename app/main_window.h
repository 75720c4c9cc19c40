#pragma once

#include "app/settings_dialog_fields.h"
#include "support/date_time_value.h"

#include <string>

namespace gravlink {

// What the controller needs of its window. The Qt window implements it; tests
// use a fake. Texts are Windows-1251.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;

    // The window will not be shown: an unattended run.
    virtual void SetMinimised() = 0;
    virtual void SetPeriodPanelHeight(int height) = 0;

    // The values of the four period pickers.
    virtual TDateTime DateBegin() const = 0;
    virtual TDateTime TimeBegin() const = 0;
    virtual TDateTime DateEnd() const = 0;
    virtual TDateTime TimeEnd() const = 0;
    // Sets the date of both date pickers, keeping their time of day. Not a change
    // made by the operator: the pickers' change handlers do not run.
    virtual void SetPickerDates(TDateTime date) = 0;

    // A modal box with the application title as caption and one OK button;
    // errorIcon for the top-level handler's box.
    virtual void ShowMessage(const std::string& text, bool errorIcon) = 0;
    // A modal box with the application title as caption, Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // Shows the settings dialog modally with these fields; true when the operator
    // confirmed it, fields then holding what the dialog holds.
    virtual bool ExecuteSettingsDialog(TSettingsDialogFields& fields) = 0;

    // Work that reaches the database or a file: from BeginWork to its EndWork the
    // window shows the wait cursor and takes no input. The calls nest.
    virtual void BeginWork() = 0;
    virtual void EndWork() = 0;
    // True when the window is drawn while work runs: long statements then run beside
    // the window's thread, which meanwhile only repaints.
    virtual bool ShowsProgress() const = 0;
    // During work: shows how far it is and repaints the window, handling no input.
    virtual void ShowProgress(const std::string& text) = 0;
    // The status line at the bottom of the window; empty to clear it.
    virtual void ShowStatus(const std::string& text) = 0;

    // Runs the controller's WMAutoExport once from the event loop, after the
    // current event has finished.
    virtual void PostAutoExport() = 0;
    // Closes the window, which ends the event loop.
    virtual void Close() = 0;
};

} // namespace gravlink
