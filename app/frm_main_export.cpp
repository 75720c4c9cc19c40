// The export run, from the toolbar and from the unattended start.
#include "app/beside_work.h"
#include "app/frm_main.h"
#include "app/report_texts.h"
#include "app/work_scope.h"
#include "app/work_texts.h"
#include "support/append_file.h"
#include "support/exception.h"
#include "support/file_system_name.h"
#include "support/text_format_settings.h"
#include "workflow/export_run.h"

#include <atomic>
#include <optional>

namespace gravlink {

namespace {

// Counts the rows the export's select has fetched, for its progress, while it lives.
class TLineCounter {
public:
    explicit TLineCounter(TFIBQuery& query) : FQuery(query) {
        FQuery.SetFetchObserver([this](int fetched) {
            FLines.store(fetched, std::memory_order_relaxed);
            return false;
        });
    }
    ~TLineCounter() { FQuery.SetFetchObserver({}); }
    TLineCounter(const TLineCounter&) = delete;
    TLineCounter& operator=(const TLineCounter&) = delete;
    long long Lines() const { return FLines.load(std::memory_order_relaxed); }

private:
    TFIBQuery& FQuery;
    std::atomic<long long> FLines{0};
};

} // namespace

void TfrmMain::ExportData() {
    const TWorkScope work(FWindow);
    FLastExport.reset();
    std::optional<std::string> failure;
    {
        // Numbers go out with "." whatever the locale; the guard and the file close on
        // every path. Both are done before a failure is reported, so that the grid
        // behind the box keeps the locale's decimal point.
        TextFormatSettingsGuard decimalPoint;
        TextFormatSettings.DecimalPoint = '.';
        std::optional<TAppendFile> file;
        try {
            file.emplace(ExportFilePath(FileSystemName(FSettings.ExportDataDir)),
                         TAppendFile::TLockWait::Fail);
            file->CutTornLine();
            const TExportJob job{FSettings.SqlSelect, FSettings.ExportTableName,
                                 FSettings.ExportFieldName, FSettings.SqlAutoExt};
            TExportRun run(FqryDBCheck, FtrnEdit);
            const TLineCounter counter(FqryDBCheck);
            // The run's first commit closes the record view; it is closed here, on the
            // window's thread, so that the grid is told there.
            if (FWindow.ShowsProgress() && FdstStat.Active())
                FdstStat.Close();
            RunBesideWindow(
                FWindow, [&] { run.Execute(job, *file); },
                [&] { return ExportProgressText(counter.Lines()); });
            FLastExport = TExportCounts{static_cast<long long>(run.RowsWritten()), 0};
            // For the status line; an unattended run has none.
            if (FWindow.ShowsProgress()) {
                try {
                    FLastExport->RecordsStamped = FqryDBCheck.RowsAffected();
                } catch (const std::exception&) {
                    // Only the status line would have shown it.
                }
            }
        } catch (const std::exception& caught) {
            failure = FailureMessage(caught);
        }
    }
    if (failure)
        ReportError(ReportTexts().OperationFailed, *failure);
}

void TfrmMain::actExportNowExecute() {
    const TWorkScope work(FWindow);
    ExportData();
    const std::optional<TExportCounts> counts = FLastExport;
    RefreshView();
    FWindow.ShowStatus(counts ? ExportDoneText(counts->LinesWritten, counts->RecordsStamped)
                              : std::string());
}

} // namespace gravlink
