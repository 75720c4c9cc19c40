// Setting and clearing export stamps by hand.
#include "app/beside_work.h"
#include "app/frm_main.h"
#include "app/report_texts.h"
#include "app/work_scope.h"
#include "app/work_texts.h"
#include "support/date_time_value.h"
#include "support/exception.h"
#include "support/sql_timestamp_text.h"
#include "workflow/stamp_statements.h"

namespace gravlink {

std::string TfrmMain::CurrentKeyLiteral() {
    const TVariant key = FdstStat.FieldValue("IDR");
    const bool integer = key.VarType() == varInteger || key.VarType() == varInt64;
    return KeyLiteral(key.AsString(), integer);
}

void TfrmMain::ExecuteMarking(const std::function<std::string()>& statement,
                              const std::string& progress) {
    const TWorkScope work(FWindow);
    try {
        const std::string sqlText = statement();
        FqryDBCheck.Close();
        FqryDBCheck.SetSQL(sqlText);
        // The statement alone runs beside the window; the commit, which closes the
        // record view, stays on the window's thread.
        RunBesideWindow(
            FWindow, [this] { FqryDBCheck.ExecQuery(); }, [&] { return progress; });
        FtrnEdit.Commit();
    } catch (const std::exception& failure) {
        ReportError(ReportTexts().OperationFailed, FailureMessage(failure));
    }
    // After success and failure alike: the commit closed the view, or the failure
    // may have come from it.
    RefreshView();
}

std::string TfrmMain::WithinPeriod(std::string sqlText) const {
    if (FPeriodFilter)
        sqlText += "\r\n" + PeriodCondition();
    return sqlText;
}

void TfrmMain::actCheckExecute() {
    ExecuteMarking([this] {
        const std::string key = CurrentKeyLiteral();
        return StampOneSql(FSettings.ExportTableName, FSettings.ExportFieldName,
                           SqlTimestampText(CurrentDateTime()), key);
    });
}

void TfrmMain::actClearOneExecute() {
    ExecuteMarking([this] {
        return ClearOneSql(FSettings.ExportTableName, FSettings.ExportFieldName,
                           CurrentKeyLiteral());
    });
}

void TfrmMain::actCheckAllExecute() {
    ExecuteMarking(
        [this] {
            return WithinPeriod(StampAllSql(FSettings.ExportTableName, FSettings.ExportFieldName,
                                            SqlTimestampText(CurrentDateTime())));
        },
        StampAllProgressText());
}

void TfrmMain::actClearAllExecute() {
    // The next export would send every record again: a mis-click must not.
    if (!FWindow.AskYesNo(ClearAllQuestion()))
        return;
    ExecuteMarking(
        [this] {
            return WithinPeriod(ClearAllSql(FSettings.ExportTableName, FSettings.ExportFieldName));
        },
        ClearAllProgressText());
}

} // namespace gravlink
