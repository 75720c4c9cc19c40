#include "app/headless_window.h"

#include "support/date_time_value.h"
#include "support/standard_error.h"

namespace gravlink {

THeadlessWindow::THeadlessWindow(TEventQueue& queue)
    : FQueue(queue), FDateBegin(DatePart(CurrentDateTime())), FTimeBegin(0), FDateEnd(FDateBegin),
      FTimeEnd(EncodeTime(23, 59, 59, 0)), FController(*this) {}

void THeadlessWindow::ShowMessage(const std::string& text, bool) {
    WriteStandardErrorLine(text);
}

bool THeadlessWindow::ExecuteSettingsDialog(TSettingsDialogFields&) {
    return false;
}

void THeadlessWindow::PostAutoExport() {
    FQueue.Post([this] { FController.Guarded([this] { FController.WMAutoExport(); }); });
}

} // namespace gravlink
