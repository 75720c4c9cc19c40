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
    // Shows the settings dialog modally with these fields; true when the operator
    // confirmed it, fields then holding what the dialog holds.
    virtual bool ExecuteSettingsDialog(TSettingsDialogFields& fields) = 0;

    // Runs the controller's WMAutoExport once from the event loop, after the
    // current event has finished.
    virtual void PostAutoExport() = 0;
    // Closes the window, which ends the event loop.
    virtual void Close() = 0;
};

} // namespace gravlink
