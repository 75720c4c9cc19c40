#include "app/headless_window.h"

#include "support/code_page.h"
#include "support/date_time_value.h"

#include <cstdio>

namespace gravlink {

THeadlessWindow::THeadlessWindow(TEventQueue& queue)
    : FQueue(queue), FDateBegin(DatePart(CurrentDateTime())), FTimeBegin(0), FDateEnd(FDateBegin),
      FTimeEnd(EncodeTime(23, 59, 59, 0)), FController(*this) {}

void THeadlessWindow::ShowMessage(const std::string& text, bool) {
    std::fprintf(stderr, "%s\n", Win1251ToUtf8(text).c_str());
}

bool THeadlessWindow::ExecuteSettingsDialog(TSettingsDialogFields&) {
    return false;
}

void THeadlessWindow::PostAutoExport() {
    FQueue.Post([this] { FController.Guarded([this] { FController.WMAutoExport(); }); });
}

} // namespace gravlink
