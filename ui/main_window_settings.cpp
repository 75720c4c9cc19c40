#include "ui/main_window.h"

namespace gravlink {

bool MainWindow::ExecuteSettingsDialog(TSettingsDialogFields& fields) {
    (void)fields;
    return false;
}

} // namespace gravlink
