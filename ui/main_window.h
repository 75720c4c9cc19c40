#pragma once

#include "app/frm_main.h"
#include "app/main_window.h"

#include <QMainWindow>

class QWidget;

namespace gravlink {

// The Qt main window: shows what the controller decides and hands every event to it.
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
    TDateTime DateBegin() const override { return FDateBegin; }
    TDateTime TimeBegin() const override { return FTimeBegin; }
    TDateTime DateEnd() const override { return FDateEnd; }
    TDateTime TimeEnd() const override { return FTimeEnd; }
    void SetPickerDates(TDateTime date) override;
    void ShowMessage(const std::string& text, bool errorIcon) override;
    bool ExecuteSettingsDialog(TSettingsDialogFields& fields) override;
    void PostAutoExport() override;
    void Close() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TfrmMain FController;
    QWidget* FPeriodPanel = nullptr;
    bool FMinimised = false;
    bool FShown = false;
    // The pickers: dates at midnight, times from 00:00:00 to 23:59:59.
    TDateTime FDateBegin = 0;
    TDateTime FTimeBegin = 0;
    TDateTime FDateEnd = 0;
    TDateTime FTimeEnd = (24.0 * 3600 - 1) / (24.0 * 3600);
};

} // namespace gravlink
