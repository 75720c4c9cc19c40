// The record view: connecting on demand, the period filter, (re)opening the view.
#include "app/frm_main.h"
#include "app/report_texts.h"
#include "app/work_scope.h"
#include "support/exception.h"
#include "support/file_system_name.h"
#include "workflow/db_check.h"
#include "workflow/period_condition.h"

namespace gravlink {

void TfrmMain::RefreshView() {
    const TWorkScope work(FWindow);
    if (FdstStat.Active())
        FdstStat.Close();
    const bool ok = FdbsGrav.Connected() || ConnectDatabase();
    if (!ok)
        return;
    try {
        const std::string text = BuildViewSql();
        FdstStat.SetSelectSQL(text);
        FdstStat.Open();
    } catch (const std::exception& failure) {
        ReportError(ReportTexts().QueryFailed, FailureMessage(failure));
        // The next refresh connects afresh and checks the stamp column again.
        DisconnectDatabase();
    }
}

bool TfrmMain::ConnectDatabase() {
    try {
        FdbsGrav.SetDBName(FileSystemName(FSettings.DBName));
        FdbsGrav.Open();
        const bool ok = CheckStampColumn();
        if (!ok)
            FdbsGrav.Close();
        return ok;
    } catch (const std::exception& failure) {
        ReportError(ReportTexts().ConnectFailed, FailureMessage(failure));
        return false;
    }
}

void TfrmMain::DisconnectDatabase() {
    FdbsGrav.Close();
}

bool TfrmMain::CheckStampColumn() {
    try {
        DBCheck::EnsureStampColumn(FqryDBCheck, FSettings.ExportTableName,
                                   FSettings.ExportFieldName);
        return true;
    } catch (const std::exception& failure) {
        ReportError(ReportTexts().FormatFailed, FailureMessage(failure));
        return false;
    }
}

std::string TfrmMain::BuildViewSql() const {
    return FPeriodFilter ? FSettings.SqlSelectWP + PeriodCondition() : FSettings.SqlSelect;
}

TDateTime TfrmMain::PeriodBegin() const {
    return FWindow.DateBegin() + TimeOfDay(FWindow.TimeBegin());
}

TDateTime TfrmMain::PeriodEnd() const {
    return FWindow.DateEnd() + TimeOfDay(FWindow.TimeEnd());
}

std::string TfrmMain::PeriodCondition() const {
    return gravlink::PeriodCondition(FSettings.ExportDateFN, PeriodBegin(), PeriodEnd());
}

void TfrmMain::ExpandPeriodPanel() {
    FPeriodFilter = true;
    // Designed at 37, shown at 40.
    FWindow.SetPeriodPanelHeight(40);
}

void TfrmMain::CollapsePeriodPanel() {
    FPeriodFilter = false;
    FWindow.SetPeriodPanelHeight(0);
}

void TfrmMain::actExpandExecute() {
    if (FPeriodFilter)
        CollapsePeriodPanel();
    else
        ExpandPeriodPanel();
    RefreshView();
}

void TfrmMain::actRefreshExecute() {
    RefreshView();
}

void TfrmMain::dtpDateBeginChange() {
    RefreshView();
}

void TfrmMain::dtpDateEndChange() {
    RefreshView();
}

} // namespace gravlink
