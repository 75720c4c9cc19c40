#include "fib/reply_watch.h"

#include "fib/fib_database.h"

#include <algorithm>

namespace gravlink {

namespace {

thread_local TReplyWatch* ThreadWatch = nullptr;

} // namespace

TClientCallMark::TClientCallMark() noexcept : FWatch(ThreadWatch) {
    if (FWatch != nullptr)
        FWatch->CallStarted();
}

TClientCallMark::~TClientCallMark() {
    if (FWatch != nullptr)
        FWatch->CallEnded();
}

TReplyWatch::TReplyWatch(const TFIBDatabase& database, std::chrono::milliseconds bound)
    : FDatabase(database), FBound(bound), FOuter(ThreadWatch),
      FThread([this](const std::stop_token& stop) { Watch(stop); }) {
    ThreadWatch = this;
}

TReplyWatch::~TReplyWatch() {
    ThreadWatch = FOuter;
    FThread.request_stop();
}

void TReplyWatch::CallStarted() noexcept {
    if (FDepth++ > 0)
        return;
    FHandle.store(FDatabase.HandleValue(), std::memory_order_relaxed);
    FLibrary.store(FDatabase.ClientLibrary().get(), std::memory_order_relaxed);
    FCalls.store(FCalls.load(std::memory_order_relaxed) + 1, std::memory_order_release);
}

void TReplyWatch::CallEnded() noexcept {
    if (--FDepth > 0)
        return;
    FCalls.store(FCalls.load(std::memory_order_relaxed) + 1, std::memory_order_release);
}

void TReplyWatch::Watch(const std::stop_token& stop) {
    using std::chrono::milliseconds;
    // Ten looks per bound, one a second at least: a call is cut within a tenth of the
    // bound after it has run out.
    const milliseconds tick = std::clamp(FBound / 10, milliseconds(10), milliseconds(1000));
    std::uint64_t waiting = 0; // the call seen under way
    std::uint64_t cancelled = 0;
    auto since = std::chrono::steady_clock::now();
    std::unique_lock lock(FLock);
    while (!FTick.wait_for(lock, stop, tick, [&stop] { return stop.stop_requested(); })) {
        const std::uint64_t calls = FCalls.load(std::memory_order_acquire);
        const auto now = std::chrono::steady_clock::now();
        if (calls % 2 == 0 || calls != waiting) {
            waiting = calls;
            since = now;
        } else if (calls != cancelled && now - since >= FBound) {
            CancelAttachment();
            cancelled = calls;
        }
    }
}

void TReplyWatch::CancelAttachment() const {
    const IIBClientLibrary* library = FLibrary.load(std::memory_order_relaxed);
    isc_db_handle handle = FHandle.load(std::memory_order_relaxed);
    if (library == nullptr || handle == 0 || !library->Provides(TEntryPoint::fb_cancel_operation))
        return;
    ISC_STATUS_ARRAY status{};
    library->fb_cancel_operation(status, &handle, static_cast<ISC_USHORT>(fb_cancel_abort));
}

} // namespace gravlink
