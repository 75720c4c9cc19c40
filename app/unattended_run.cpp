#include "app/unattended_run.h"

#include "app/event_queue.h"
#include "app/headless_window.h"
#include "support/locale_format_settings.h"

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace gravlink {

namespace {

// A site whose sound calls take longer than the bound (a first export of a very large
// table on a slow server) sets its own, in whole seconds; 0 waits without one.
std::optional<std::chrono::seconds> ReplyTimeoutOfEnvironment() {
    const char* text = std::getenv("GRAVLINK_REPLY_TIMEOUT");
    if (text == nullptr)
        return std::nullopt;
    long long seconds = -1;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, seconds);
    if (error != std::errc() || stop != end || seconds < 0)
        return std::nullopt;
    return std::chrono::seconds(seconds);
}

} // namespace

int RunUnattended(const TCommandLine& commandLine) {
    // Dates and numbers are written the way the user's locale writes them.
    ReadTextFormatSettings();
    TEventQueue queue;
    THeadlessWindow window(queue);
    TfrmMain& form = window.Controller();
    if (const auto bound = ReplyTimeoutOfEnvironment())
        form.SetReplyTimeout(*bound);
    // A start that failed before its export was posted leaves the queue empty, and
    // the run goes straight on to its shutdown.
    form.Guarded([&] { form.FormCreate(commandLine); });
    queue.Run();
    form.Guarded([&] { form.FormDestroy(); });
    return form.ExitStatus();
}

} // namespace gravlink
