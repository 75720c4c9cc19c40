#include "app/app_title.h"
#include "app/command_line.h"
#include "support/locale_format_settings.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A scheduled run has no display: let Qt draw nowhere instead of refusing to start.
void ChooseHeadlessPlatform(const gravlink::TCommandLine& commandLine) {
    const bool noDisplay =
        std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr;
    if (!gravlink::IsAutoMode(commandLine) || !noDisplay)
        return;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Cron gives no runtime folder; Qt would make this one itself, but warn on every
    // run, and the scheduler mails whatever a run prints.
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        const std::string runtime = "/tmp/runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        struct stat info {};
        if (stat(runtime.c_str(), &info) == 0 && info.st_uid == getuid() &&
            (info.st_mode & 0777) == 0700)
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
}

} // namespace

int main(int argc, char** argv) {
    gravlink::TCommandLine commandLine;
    commandLine.Arguments.assign(argv + 1, argv + argc);
    commandLine.ExecutablePath = gravlink::ExecutablePath();
    ChooseHeadlessPlatform(commandLine);

    QApplication application(argc, argv);
    QApplication::setApplicationName("gravlink");
    // Dates and numbers are written the way the user's locale writes them.
    gravlink::ReadTextFormatSettings();
    int status = 0;
    {
        gravlink::MainWindow window;
        gravlink::TfrmMain& form = window.Controller();
        form.Guarded([&] { form.FormCreate(commandLine); });
        // An unattended start that failed before its export was posted has nothing
        // to run, and nobody would be there to close the window: it ends here.
        const bool unattendedStartFailed = form.AutoMode() && !window.Minimised();
        if (!window.Minimised() && !unattendedStartFailed) {
            window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                                   window.screen()->availableGeometry()));
            window.show();
        }
        if (!unattendedStartFailed)
            QApplication::exec();
        form.Guarded([&] { form.FormDestroy(); });
        status = form.ExitStatus();
    }
    return status;
}
