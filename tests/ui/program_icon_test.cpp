// The program's icon: every size the desktop asks for, on the main window and on
// each dialog alike.
#include "tests/ui/window_fixture.h"
#include "ui/program_icon.h"
#include "ui/settings_dialog.h"

#include <QMessageBox>
#include <gtest/gtest.h>

namespace gravlink::test {
namespace {

TEST(ProgramIcon, HoldsEverySizeTheDesktopAsksFor) {
    Application();
    const QIcon icon = ProgramIcon();
    for (const int size : {16, 32, 48, 256}) {
        const QImage picture = icon.pixmap(QSize(size, size)).toImage();
        EXPECT_EQ(picture.size(), QSize(size, size)) << size;
        // Drawn, not blank: the corners are clear, the middle is not.
        EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(picture.pixel(size / 2, size / 2)), 255) << size;
    }
    EXPECT_EQ(icon.availableSizes().size(), 4);
}

TEST(ProgramIcon, IsTheIconOfTheMainWindowAndOfEveryDialog) {
    Application();
    SetProgramIcon();
    const qint64 expected = QApplication::windowIcon().cacheKey();
    MainWindow window;
    TfrmSettings settings(&window);
    QMessageBox box(&window);
    for (const QWidget* shown : std::initializer_list<const QWidget*>{&window, &settings, &box}) {
        EXPECT_EQ(shown->windowIcon().cacheKey(), expected) << shown->metaObject()->className();
        EXPECT_EQ(shown->windowIcon().availableSizes().size(), 4);
    }
    QApplication::setWindowIcon(QIcon());
}

} // namespace
} // namespace gravlink::test
