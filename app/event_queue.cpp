#include "app/event_queue.h"

#include <utility>

namespace gravlink {

void TEventQueue::Post(std::function<void()> call) {
    FCalls.push_back(std::move(call));
}

void TEventQueue::Quit() {
    FQuit = true;
}

void TEventQueue::Run() {
    FQuit = false;
    while (!FQuit && !FCalls.empty()) {
        const std::function<void()> call = std::move(FCalls.front());
        FCalls.pop_front();
        call();
    }
    FCalls.clear();
}

} // namespace gravlink
