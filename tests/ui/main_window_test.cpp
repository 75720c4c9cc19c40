#include "app/app_title.h"
#include "tests/ui/window_fixture.h"
#include "ui/command_pictures.h"
#include "ui/data_grid.h"
#include "ui/picker_formats.h"
#include "ui/qt_text.h"
#include "ui/qt_translations.h"

#include <QAction>
#include <QImage>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QTranslator>

namespace gravlink::test {
namespace {

TEST(PickerFormats, FollowTheSystemPatterns) {
    struct Case {
        const char* Pattern;
        char Separator;
        bool Date;
        const char* Expected;
    };
    const Case cases[] = {
        {"dd.mm.yyyy", '.', true, "dd.MM.yyyy"},
        {"m/d/yy", '/', true, "M/d/yy"},
        {"dd/mm/yyyy", '.', true, "dd.MM.yyyy"}, // "/" is the separator
        {"yyyy-mm-dd", '/', true, "yyyy-MM-dd"}, // other characters stay
        {"d mmm yyyy 'г.'", '/', true, "d MMM yyyy 'г'."},
        {"hh:mm:ss", ':', false, "hh:mm:ss"},
        {"h:nn:ss AMPM", ':', false, "h:mm:ss AP"},
        {"h:mm:ss am/pm", '.', false, "h.mm.ss ap"},
    };
    for (const Case& c : cases) {
        const std::string pattern = FromQt(QString::fromUtf8(c.Pattern));
        EXPECT_EQ(c.Date ? PickerDateFormat(pattern, c.Separator)
                         : PickerTimeFormat(pattern, c.Separator),
                  QString::fromUtf8(c.Expected))
            << c.Pattern;
    }
}

// A Russian desktop gets Qt's own buttons in Russian (qt6-translations-l10n).
TEST(QtTranslations, YesAndNoReadRussianOnARussianDesktop) {
    Application();
    QTranslator* russian = LoadQtTranslations(QLocale(QLocale::Russian, QLocale::Russia));
    ASSERT_NE(russian, nullptr) << "Qt's Russian translations are not installed";
    QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QString::fromUtf8("&Да"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QString::fromUtf8("&Нет"));
    QCoreApplication::removeTranslator(russian);
    delete russian;
    // A language Qt has no translations for keeps the English texts.
    EXPECT_EQ(LoadQtTranslations(QLocale(QLocale::Esperanto)), nullptr);
}

using MainWindowLayout = WindowTest;

TEST_F(MainWindowLayout, CaptionSizeAndCommandsInOrder) {
    Start();
    EXPECT_EQ(W().windowTitle(), ToQt(AppTitle()));
    EXPECT_EQ(W().size(), QSize(862, 606));
    EXPECT_EQ(W().ActionToolBar1->height(), 28);
    EXPECT_EQ(W().font().pointSize(), 8);

    // Separators stand where a 0 is.
    const char* expected[] = {
        "Экспортировать",  nullptr,       "Доп. параметры", nullptr, "Установить метку",
        "Установить всем", "Снять метку", "Снять у всех",   nullptr, "Настройка",
        nullptr,           "Обновить"};
    const QList<QAction*> actions = W().ActionToolBar1->actions();
    ASSERT_EQ(actions.size(), 12);
    for (int index = 0; index < 12; ++index) {
        QAction* action = actions[index];
        if (!expected[index]) {
            EXPECT_TRUE(action->isSeparator()) << index;
            continue;
        }
        EXPECT_EQ(action->text(), QString::fromUtf8(expected[index]));
        EXPECT_EQ(action->toolTip(), action->text());
        EXPECT_TRUE(action->shortcut().isEmpty());
        EXPECT_TRUE(action->isEnabled());
        EXPECT_FALSE(action->icon().isNull());
    }
    // Grid on top of the rest of the client area, down to the status line.
    QApplication::processEvents();
    EXPECT_EQ(W().DBGridEh1->geometry().top(), 28);
    const QRect status = W().statusBar()->geometry();
    EXPECT_EQ(W().DBGridEh1->geometry().bottom() + 1, status.top());
    EXPECT_EQ(status.bottom(), 605);
    EXPECT_LE(status.height(), 24);
}

// Each command shows its own picture of ImageList1: a swap of two fails here.
TEST_F(MainWindowLayout, EachCommandShowsItsPictureDrawnForThePixelRatio) {
    Start();
    const std::pair<QAction*, int> pictures[] = {
        {W().actExportNow, 0}, {W().actExpand, 6},   {W().actCheck, 2},    {W().actCheckAll, 3},
        {W().actClearOne, 5},  {W().actClearAll, 4}, {W().actSettings, 1}, {W().actRefresh, 7},
    };
    for (const auto& [action, index] : pictures) {
        EXPECT_EQ(action->icon().pixmap(QSize(16, 16), 1.0).toImage(),
                  CommandPicture(index).toImage())
            << action->objectName().toStdString();
        // On a screen scaled twice the picture is drawn with twice the pixels, not blown up.
        const QPixmap sharp = action->icon().pixmap(QSize(16, 16), 2.0);
        EXPECT_EQ(sharp.size(), QSize(32, 32)) << action->objectName().toStdString();
        EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
        EXPECT_EQ(sharp.toImage(), CommandPicture(index, 32).toImage());
    }
}

} // namespace
} // namespace gravlink::test
