#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ibase.h>
#include <mutex>
#include <stop_token>
#include <thread>

namespace gravlink {

class IIBClientLibrary;
class TFIBDatabase;

// Bounds the wait for the server's answer to one client call. While it lives, the
// client calls of the thread that made it are taken as calls of the connection; one
// that has waited longer than the bound has the connection's attachment cancelled
// (fb_cancel_operation, fb_cancel_abort). For a remote attachment the library then
// closes the connection's port: the waiting call returns with the library's network
// error ("Error reading data from the connection."), raised as usual, and the calls
// after it fail at once. A server that stopped while it held the connection (its
// kernel still acknowledges, so nothing else ever ends the wait) then holds the
// program no longer than the bound. The time between calls never counts. Watches on
// a thread of its own; must end on the thread that made it.
class TReplyWatch {
public:
    TReplyWatch(const TFIBDatabase& database, std::chrono::milliseconds bound);
    ~TReplyWatch();
    TReplyWatch(const TReplyWatch&) = delete;
    TReplyWatch& operator=(const TReplyWatch&) = delete;

    // A call of the watched thread begins or ends (TClientCallMark).
    void CallStarted() noexcept;
    void CallEnded() noexcept;

private:
    void Watch(const std::stop_token& stop);
    void CancelAttachment() const;

    const TFIBDatabase& FDatabase;
    const std::chrono::milliseconds FBound;
    // Calls begun and ended: odd while a call is under way. Only the watched thread
    // writes it; nested calls count once.
    std::atomic<std::uint64_t> FCalls{0};
    int FDepth = 0;
    // What the call under way was made over, as the watched thread saw it.
    std::atomic<isc_db_handle> FHandle{0};
    std::atomic<const IIBClientLibrary*> FLibrary{nullptr};
    // The thread's watch before this one.
    TReplyWatch* FOuter;
    std::mutex FLock;
    std::condition_variable_any FTick;
    // Last: it starts once the rest is ready, and ends first.
    std::jthread FThread;
};

} // namespace gravlink
