#include "ui/main_window.h"
#include "ui/settings_dialog.h"

namespace gravlink {

bool MainWindow::ExecuteSettingsDialog(TSettingsDialogFields& fields) {
    // A new dialog each time: it opens on its first page with the settings' values.
    TfrmSettings frmSettings(this);
    frmSettings.SetUncaughtHandler(
        [this](const std::exception& failure) { FController.HandleUncaught(failure); });
    frmSettings.SetFields(fields);
    if (frmSettings.exec() != TfrmSettings::mrOk)
        return false;
    fields = frmSettings.Fields();
    return true;
}

} // namespace gravlink
