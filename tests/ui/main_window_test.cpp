#include "app/app_title.h"
#include "tests/ui/window_fixture.h"
#include "ui/command_pictures.h"
#include "ui/data_grid.h"
#include "ui/picker_formats.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QImage>
#include <QToolBar>
#include <set>

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

TEST(CommandPictures, EightDistinctDrawnPictures) {
    Application();
    std::set<QByteArray> seen;
    for (int index = 0; index < CommandPictureCount; ++index) {
        const QImage image = CommandPicture(index).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16));
        // Transparent corners, something drawn.
        EXPECT_EQ(qAlpha(image.pixel(0, 15)), 0) << index;
        int painted = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                painted += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(painted, 10) << index;
        seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                               static_cast<int>(image.sizeInBytes())));
    }
    EXPECT_EQ(seen.size(), 8u);
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
    // Grid on top of the rest of the client area.
    QApplication::processEvents();
    EXPECT_EQ(W().DBGridEh1->geometry().top(), 28);
    EXPECT_EQ(W().DBGridEh1->geometry().bottom(), 605);
}

} // namespace
} // namespace gravlink::test
