// The window module's entry: the interactive start, loaded by the program only when
// it has a window to show.
#include "app/command_line.h"
#include "app/terminate_request.h"
#include "app/window_start.h"
#include "support/code_page.h"
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
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>
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

// When the X server goes away Qt says so and calls exit(), whose teardown of a client
// library still attached can crash, or spin in an embedded engine that a terminate
// signal then no longer reaches. The window instead writes its settings back, when no
// work is under way, and the process ends at once; work under way commits nothing.
class TDisplayLoss {
public:
    explicit TDisplayLoss(gravlink::MainWindow& window) {
        FWindow = &window;
        FPrevious = qInstallMessageHandler(&Watch);
    }
    ~TDisplayLoss() {
        qInstallMessageHandler(FPrevious);
        FWindow = nullptr;
    }
    TDisplayLoss(const TDisplayLoss&) = delete;
    TDisplayLoss& operator=(const TDisplayLoss&) = delete;

private:
    static void Watch(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (FPrevious)
            FPrevious(type, context, text);
        else
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        if (type != QtWarningMsg || !text.startsWith(QLatin1String("The X11 connection broke")))
            return;
        if (FWindow && !FWindow->Working()) {
            // No box can be shown any more: a failure goes to standard error. The
            // connection is left to end with the process: an embedded engine may take
            // long over its last detach.
            try {
                FWindow->Controller().SaveSettings();
            } catch (const std::exception& failure) {
                std::fprintf(stderr, "%s\n", gravlink::Win1251ToUtf8(failure.what()).c_str());
            }
        }
        std::_Exit(1);
    }

    static inline QtMessageHandler FPrevious = nullptr;
    static inline gravlink::MainWindow* FWindow = nullptr;
};

// A terminate request ends an idle window as its close box does (settings written,
// connection closed), and work under way at once, so that it commits nothing. A
// shutdown that has not ended the process after a while is cut short.
std::atomic<gravlink::MainWindow*> RequestedWindow{nullptr};
constexpr auto ShutdownGrace = std::chrono::seconds(5);

void TerminateRequested(int request) {
    gravlink::MainWindow* window = RequestedWindow.load();
    if (window == nullptr || window->Working())
        gravlink::EndProcessForRequest(request);
    QMetaObject::invokeMethod(
        window,
        [window, request] {
            // Taken inside the repaints of work that began meanwhile.
            if (window->Working())
                gravlink::EndProcessForRequest(request);
            window->close();
        },
        Qt::QueuedConnection);
    std::this_thread::sleep_for(ShutdownGrace);
    gravlink::EndProcessForRequest(request);
}

} // namespace
} // namespace gravlink

extern "C" Q_DECL_EXPORT int GravlinkRunWindow(int argc, char** argv) {
    const gravlink::TCommandLine commandLine = gravlink::ProcessCommandLine(argc, argv);
    // Before the toolkit and the client library start threads of their own.
    gravlink::WatchTerminateRequests(&gravlink::TerminateRequested);
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
    gravlink::RequestedWindow = &window;
    gravlink::TfrmMain& form = window.Controller();
    form.Guarded([&] { form.FormCreate(commandLine); });
    window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                           window.screen()->availableGeometry()));
    window.show();
    const gravlink::TDisplayLoss displayLoss(window);
    QApplication::exec();
    form.Guarded([&] { form.FormDestroy(); });
    gravlink::RequestedWindow = nullptr;
    return form.ExitStatus();
}
