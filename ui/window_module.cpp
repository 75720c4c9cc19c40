// The window module's entry: the interactive start, loaded by the program only when
// it has a window to show.
#include "app/command_line.h"
#include "app/window_start.h"
#include "support/locale_format_settings.h"
#include "ui/main_window.h"
#include "ui/program_icon.h"
#include "ui/qt_translations.h"

#include <QApplication>
#include <QByteArray>
#include <QLocale>
#include <QScreen>
#include <QStyle>
#include <QtGlobal>
#include <cstdlib>
#include <optional>
#include <vector>

namespace gravlink {
namespace {

// Qt ends the process when it cannot reach the display it was given (one left over
// from an ssh session, an X server that refuses the user). While the application is
// made, its messages are held back; when it gives up, the start says why in one line,
// as a start without any display does.
class TStartMessages {
public:
    TStartMessages() { FPrevious = qInstallMessageHandler(&Hold); }
    // The application is made: what was held goes out as it would have.
    ~TStartMessages() {
        qInstallMessageHandler(FPrevious);
        for (const THeld& held : FHeld) {
            const QMessageLogContext context(nullptr, 0, nullptr, held.Category.constData());
            if (FPrevious)
                FPrevious(held.Type, context, held.Text);
        }
        FHeld.clear();
    }
    TStartMessages(const TStartMessages&) = delete;
    TStartMessages& operator=(const TStartMessages&) = delete;

private:
    struct THeld {
        QtMsgType Type;
        QByteArray Category;
        QString Text;
    };

    static void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type != QtFatalMsg) {
            FHeld.push_back({type, QByteArray(context.category), text});
            return;
        }
        // The first complaint names the display; the last one only says that Qt gave up.
        const QString& reason = FHeld.empty() ? text : FHeld.front().Text;
        std::_Exit(
            CannotStartWindow("the window cannot be started (" + reason.toStdString() + ")"));
    }

    static inline QtMessageHandler FPrevious = nullptr;
    static inline std::vector<THeld> FHeld;
};

} // namespace
} // namespace gravlink

extern "C" Q_DECL_EXPORT int GravlinkRunWindow(int argc, char** argv) {
    const gravlink::TCommandLine commandLine = gravlink::ProcessCommandLine(argc, argv);
    std::optional<QApplication> application;
    {
        const gravlink::TStartMessages held;
        application.emplace(argc, argv);
    }
    QApplication::setApplicationName("gravlink");
    // Qt's own dialogs and buttons speak the desktop's language.
    gravlink::LoadQtTranslations(QLocale::system());
    // The desktop matches the window to its desktop entry by this name.
    QGuiApplication::setDesktopFileName("gravlink");
    gravlink::SetProgramIcon();
    // Dates and numbers are written the way the user's locale writes them.
    gravlink::ReadTextFormatSettings();
    gravlink::MainWindow window;
    gravlink::TfrmMain& form = window.Controller();
    form.Guarded([&] { form.FormCreate(commandLine); });
    window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                           window.screen()->availableGeometry()));
    window.show();
    QApplication::exec();
    form.Guarded([&] { form.FormDestroy(); });
    return form.ExitStatus();
}
