// The settings command: the dialog filled from the settings, taken back on OK.
#include "app/frm_main.h"
#include "app/settings_dialog_fields.h"

namespace gravlink {

void TfrmMain::actSettingsExecute() {
    TSettingsDialogFields fields;
    fields.Connection = SetDBName(FSettings.DBName);
    fields.ExportDataDir = FSettings.ExportDataDir;
    fields.ExportFieldName = UnwrapStampField();
    fields.ExportTableName = FSettings.ExportTableName;
    fields.ExportDateFN = FSettings.ExportDateFN;
    fields.SqlSelect = FSettings.SqlSelect;
    fields.SqlSelectWP = FSettings.SqlSelectWP;
    fields.SqlUpdate = FSettings.SqlUpdate;
    fields.SqlAutoExt = FSettings.SqlAutoExt;
    // Failures of the dialog are not caught here: they belong to the top-level handler.
    if (FWindow.ExecuteSettingsDialog(fields)) {
        FSettings.DBName = GetDBName(fields.Connection);
        FSettings.ExportDataDir = fields.ExportDataDir;
        FSettings.ExportFieldName = WrapStampField(fields.ExportFieldName);
        FSettings.ExportTableName = fields.ExportTableName;
        FSettings.ExportDateFN = fields.ExportDateFN;
        FSettings.SqlSelect = fields.SqlSelect;
        FSettings.SqlSelectWP = fields.SqlSelectWP;
        FSettings.SqlUpdate = fields.SqlUpdate;
        FSettings.SqlAutoExt = fields.SqlAutoExt;
    }
    // A changed DBName waits for the next connect; everything else counts from here.
    RefreshView();
}

} // namespace gravlink
