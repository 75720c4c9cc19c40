#include "ui/main_window.h"

#include "app/app_title.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QMessageBox>
#include <QVBoxLayout>

namespace gravlink {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), FController(*this) {
    setWindowTitle(ToQt(AppTitle()));
    resize(862, 606);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    FPeriodPanel = new QWidget(central);
    FPeriodPanel->setFixedHeight(0);
    layout->addWidget(FPeriodPanel);
    layout->addStretch();
    setCentralWidget(central);
}

MainWindow::~MainWindow() = default;

void MainWindow::SetPeriodPanelHeight(int height) {
    FPeriodPanel->setFixedHeight(height);
}

void MainWindow::SetPickerDates(TDateTime date) {
    FDateBegin = date;
    FDateEnd = date;
}

void MainWindow::ShowMessage(const std::string& text, bool errorIcon) {
    QMessageBox box(errorIcon ? QMessageBox::Critical : QMessageBox::NoIcon, ToQt(AppTitle()),
                    ToQt(text), QMessageBox::Ok, isVisible() ? this : nullptr);
    box.exec();
}

void MainWindow::PostAutoExport() {
    QMetaObject::invokeMethod(
        this, [this] { FController.Guarded([this] { FController.WMAutoExport(); }); },
        Qt::QueuedConnection);
}

void MainWindow::Close() {
    close();
    // A window that was never shown does not end the event loop by closing.
    if (FMinimised)
        QCoreApplication::quit();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    FController.Guarded([this] { FController.FormShow(); });
}

} // namespace gravlink
