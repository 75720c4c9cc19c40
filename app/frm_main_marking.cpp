// Setting and clearing export stamps by hand.
#include "app/frm_main.h"
#include "app/report_texts.h"
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

void TfrmMain::ExecuteMarking(const std::string& sqlText) {
    FqryDBCheck.Close();
    FqryDBCheck.SetSQL(sqlText);
    FqryDBCheck.ExecQuery();
    FtrnEdit.Commit();
}

void TfrmMain::actCheckExecute() {
    try {
        const std::string key = CurrentKeyLiteral();
        ExecuteMarking(StampOneSql(FSettings.ExportTableName, FSettings.ExportFieldName,
                                   SqlTimestampText(CurrentDateTime()), key));
    } catch (const std::exception& failure) {
        ReportError(ReportTexts().OperationFailed, FailureMessage(failure));
    }
    RefreshView();
}

void TfrmMain::actClearOneExecute() {
    try {
        const std::string key = CurrentKeyLiteral();
        ExecuteMarking(ClearOneSql(FSettings.ExportTableName, FSettings.ExportFieldName, key));
    } catch (const std::exception& failure) {
        ReportError(ReportTexts().OperationFailed, FailureMessage(failure));
    }
    RefreshView();
}

void TfrmMain::actCheckAllExecute() {
    try {
        std::string sqlText = StampAllSql(FSettings.ExportTableName, FSettings.ExportFieldName,
                                          SqlTimestampText(CurrentDateTime()));
        if (FPeriodFilter)
            sqlText += "\r\n" + PeriodCondition();
        ExecuteMarking(sqlText);
    } catch (const std::exception& failure) {
        ReportError(ReportTexts().OperationFailed, FailureMessage(failure));
    }
    RefreshView();
}

void TfrmMain::actClearAllExecute() {
    try {
        std::string sqlText = ClearAllSql(FSettings.ExportTableName, FSettings.ExportFieldName);
        if (FPeriodFilter)
            sqlText += "\r\n" + PeriodCondition();
        ExecuteMarking(sqlText);
    } catch (const std::exception& failure) {
        ReportError(ReportTexts().OperationFailed, FailureMessage(failure));
    }
    RefreshView();
}

} // namespace gravlink
