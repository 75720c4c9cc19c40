#include "app/unattended_run.h"

#include "app/event_queue.h"
#include "app/headless_window.h"
#include "support/locale_format_settings.h"

namespace gravlink {

int RunUnattended(const TCommandLine& commandLine) {
    // Dates and numbers are written the way the user's locale writes them.
    ReadTextFormatSettings();
    TEventQueue queue;
    THeadlessWindow window(queue);
    TfrmMain& form = window.Controller();
    // A start that failed before its export was posted leaves the queue empty, and
    // the run goes straight on to its shutdown.
    form.Guarded([&] { form.FormCreate(commandLine); });
    queue.Run();
    form.Guarded([&] { form.FormDestroy(); });
    return form.ExitStatus();
}

} // namespace gravlink
