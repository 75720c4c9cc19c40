#pragma once

#include "app/main_window.h"

#include <functional>
#include <string>

namespace gravlink {

// Runs one long step of work (a statement, an export) to its end. Where the window is
// drawn, the step runs on a helper thread while the window's thread waits, repainting
// and showing progress() a few times a second; it handles no input meanwhile, so no
// command starts inside another. A failure of the step is rethrown here. Where nothing
// is drawn, the step simply runs on this thread.
// The step must not touch what the window shows: the record view is closed or left
// alone while it runs.
void RunBesideWindow(IMainWindow& window, const std::function<void()>& step,
                     const std::function<std::string()>& progress);

} // namespace gravlink
