#pragma once

#include <deque>
#include <functional>

namespace gravlink {

// The event loop of a run without a window: calls posted to it run one after the
// other, each to its end, on the one thread. The loop ends when it is told to quit,
// or when nothing is left to run: with no window, no timer and no other thread,
// nothing could ever arrive.
class TEventQueue {
public:
    // Queues a call to run after the current one has finished.
    void Post(std::function<void()> call);
    // Ends the loop once the current call has finished; what is queued then is dropped.
    void Quit();
    // Runs the queued calls, also those they post, until Quit or until none is left.
    void Run();

private:
    std::deque<std::function<void()>> FCalls;
    bool FQuit = false;
};

} // namespace gravlink
