// The export run, from the toolbar and from the unattended start.
#include "app/frm_main.h"
#include "app/report_texts.h"
#include "support/append_file.h"
#include "support/exception.h"
#include "support/file_system_name.h"
#include "support/text_format_settings.h"
#include "workflow/export_run.h"

#include <optional>

namespace gravlink {

void TfrmMain::ExportData() {
    // Numbers go out with "." whatever the locale; the guard and the file close on
    // every path, also when reporting the failure fails.
    TextFormatSettingsGuard decimalPoint;
    TextFormatSettings.DecimalPoint = '.';
    std::optional<TAppendFile> file;
    try {
        file.emplace(ExportFilePath(FileSystemName(FSettings.ExportDataDir)),
                     TAppendFile::TLockWait::Fail);
        file->CutTornLine();
        const TExportJob job{FSettings.SqlSelect, FSettings.ExportTableName,
                             FSettings.ExportFieldName, FSettings.SqlAutoExt};
        TExportRun(FqryDBCheck, FtrnEdit).Execute(job, *file);
    } catch (const std::exception& failure) {
        ReportError(ReportTexts().OperationFailed, FailureMessage(failure));
    }
}

void TfrmMain::actExportNowExecute() {
    ExportData();
    RefreshView();
}

} // namespace gravlink
