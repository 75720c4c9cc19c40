#include "app/beside_work.h"

#include <chrono>
#include <future>

namespace gravlink {

namespace {
// Often enough for the window to look alive, rarely enough to cost nothing.
constexpr std::chrono::milliseconds ProgressInterval{100};
} // namespace

void RunBesideWindow(IMainWindow& window, const std::function<void()>& step,
                     const std::function<std::string()>& progress) {
    if (!window.ShowsProgress()) {
        step();
        return;
    }
    std::future<void> done = std::async(std::launch::async, step);
    while (done.wait_for(ProgressInterval) != std::future_status::ready)
        window.ShowProgress(progress());
    done.get();
}

} // namespace gravlink
