#pragma once

#include "app/frm_main.h"
#include "app/main_window.h"

#include <QIcon>
#include <QMainWindow>
#include <functional>
#include <vector>

class QAction;
class QDateEdit;
class QLabel;
class QTimeEdit;
class QToolBar;
class QWidget;

namespace gravlink {

class TDataGrid;
class TDataSourceModel;

// The Qt main window: shows what the controller decides and hands every event to it.
// Toolbar, period panel and grid, top to bottom.
class MainWindow : public QMainWindow, public IMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    TfrmMain& Controller() { return FController; }
    bool Minimised() const { return FMinimised; }

    // IMainWindow
    void SetMinimised() override { FMinimised = true; }
    void SetPeriodPanelHeight(int height) override;
    TDateTime DateBegin() const override;
    TDateTime TimeBegin() const override;
    TDateTime DateEnd() const override;
    TDateTime TimeEnd() const override;
    void SetPickerDates(TDateTime date) override;
    void ShowMessage(const std::string& text, bool errorIcon) override;
    bool AskYesNo(const std::string& text) override;
    bool ExecuteSettingsDialog(TSettingsDialogFields& fields) override;
    void BeginWork() override;
    void EndWork() override;
    bool ShowsProgress() const override { return !FMinimised; }
    void ShowProgress(const std::string& text) override;
    void ShowStatus(const std::string& text) override;
    void PostAutoExport() override;
    void Close() override;

    // The widgets, named as the window's parts.
    QToolBar* ActionToolBar1 = nullptr;
    std::vector<QIcon> ImageList1;
    QAction* actExportNow = nullptr;
    QAction* actExpand = nullptr;
    QAction* actCheck = nullptr;
    QAction* actCheckAll = nullptr;
    QAction* actClearOne = nullptr;
    QAction* actClearAll = nullptr;
    QAction* actSettings = nullptr;
    QAction* actRefresh = nullptr;
    QWidget* pnlExpand = nullptr;
    QLabel* Label1 = nullptr;
    QDateEdit* dtpDateBegin = nullptr;
    QTimeEdit* dtpTimeBegin = nullptr;
    QLabel* Label2 = nullptr;
    QDateEdit* dtpDateEnd = nullptr;
    QTimeEdit* dtpTimeEnd = nullptr;
    TDataSourceModel* dcrStat = nullptr;
    TDataGrid* DBGridEh1 = nullptr;
    // The status line: what the last long work did, and the rows once all are fetched.
    QLabel* lblStatus = nullptr;
    QLabel* lblRowCount = nullptr;
    bool Working() const { return FWork > 0; }

protected:
    void showEvent(QShowEvent* event) override;
    // A close asked for while work runs waits for the work's end.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateToolBar();
    // A toolbar command whose handler runs under the top-level handler.
    QAction* AddCommand(const char* name, const char* caption, int picture,
                        void (TfrmMain::*handler)());
    void CreatePeriodPanel();
    QDateEdit* CreateDatePicker();
    QTimeEdit* CreateTimePicker();
    void PlacePeriodPanel();
    void actSettingsTriggered();
    void CreateStatusLine();
    // Repaints what changed, handling no input.
    void Repaint();

    TfrmMain FController;
    bool FMinimised = false;
    bool FShown = false;
    int FWork = 0;
    bool FCloseAsked = false;
};

} // namespace gravlink
