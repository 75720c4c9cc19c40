#include "app/app_title.h"
#include "app/command_line.h"
#include "support/locale_format_settings.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <cstdlib>

namespace {

// A scheduled run has no display: let Qt draw nowhere instead of refusing to start.
void ChooseHeadlessPlatform(const gravlink::TCommandLine& commandLine) {
    const bool noDisplay =
        std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr;
    if (gravlink::IsAutoMode(commandLine) && noDisplay && std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
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
        if (!window.Minimised()) {
            window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                                   window.screen()->availableGeometry()));
            window.show();
        }
        QApplication::exec();
        form.Guarded([&] { form.FormDestroy(); });
        status = form.ExitStatus();
    }
    return status;
}
