#pragma once

#include "app/event_queue.h"
#include "app/frm_main.h"
#include "app/main_window.h"

namespace gravlink {

// The window of an unattended run: nobody sees it, so nothing of it is drawn and no
// window toolkit is loaded. It holds the pickers' values as a window would, queues
// the deferred export on the run's event queue, and closing it ends that queue.
class THeadlessWindow final : public IMainWindow {
public:
    explicit THeadlessWindow(TEventQueue& queue);

    TfrmMain& Controller() { return FController; }
    bool Minimised() const { return FMinimised; }

    // IMainWindow
    void SetMinimised() override { FMinimised = true; }
    // No panel to size.
    void SetPeriodPanelHeight(int) override {}
    TDateTime DateBegin() const override { return FDateBegin; }
    TDateTime TimeBegin() const override { return FTimeBegin; }
    TDateTime DateEnd() const override { return FDateEnd; }
    TDateTime TimeEnd() const override { return FTimeEnd; }
    void SetPickerDates(TDateTime date) override { FDateBegin = FDateEnd = date; }
    // Nobody is there to press OK: the text goes to standard error.
    void ShowMessage(const std::string& text, bool errorIcon) override;
    // Nobody is there to fill it in: the dialog counts as cancelled.
    bool ExecuteSettingsDialog(TSettingsDialogFields& fields) override;
    // Nobody is there to answer: No.
    bool AskYesNo(const std::string&) override { return false; }
    // Nothing is drawn: work runs on the one thread and reports no progress.
    void BeginWork() override {}
    void EndWork() override {}
    bool ShowsProgress() const override { return false; }
    void ShowProgress(const std::string&) override {}
    void ShowStatus(const std::string&) override {}
    void PostAutoExport() override;
    void Close() override { FQueue.Quit(); }

private:
    TEventQueue& FQueue;
    bool FMinimised = false;
    // As the window's pickers start: the day of creation, from 00:00:00 to 23:59:59.
    TDateTime FDateBegin;
    TDateTime FTimeBegin;
    TDateTime FDateEnd;
    TDateTime FTimeEnd;
    // Last: it is told of this window before the window is complete.
    TfrmMain FController;
};

} // namespace gravlink
