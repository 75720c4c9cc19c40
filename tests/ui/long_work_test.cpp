// The window at scale: the wait cursor, the last record, the status line, the
// confirmation before every stamp is cleared, numbers as a Russian desktop writes them.
#include "app/app_title.h"
#include "app/work_texts.h"
#include "support/locale_format_settings.h"
#include "tests/ui/modal_helper.h"
#include "tests/ui/window_fixture.h"
#include "ui/data_grid.h"
#include "ui/data_source_model.h"
#include "ui/qt_text.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <locale.h>

namespace gravlink::test {
namespace {

// The window with its boxes shown for real, answered by the test.
class LongWork : public WindowTest {
protected:
    void StartShowing() {
        Window = std::make_unique<RecordingWindow>();
        Window->ShowBoxes = true;
        TfrmMain& form = Window->Controller();
        form.Settings() = Database.Settings((Dir.Path() / "out").string());
        form.FormCreate({{}, (Dir.Path() / "gravlink").string()});
        Window->show();
        QApplication::processEvents();
    }
    void PressKey(int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(W().DBGridEh1, &press);
    }
    QString CurrentCell(int column) const {
        const int row = Window->DBGridEh1->currentIndex().row();
        return Window->dcrStat->index(row, column).data().toString();
    }
};

TEST_F(LongWork, CtrlEndLandsOnTheLastRecordWhichTheCommandsThenMark) {
    AddRecords(3000); // IDR 1, 2, 3 and 10 .. 3009
    Start();
    ASSERT_LT(W().dcrStat->rowCount(), 200);
    PressKey(Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(DataSet().AllFetched());
    EXPECT_EQ(W().dcrStat->rowCount(), 3003);
    EXPECT_EQ(DataSet().CurrentRow(), 3002);
    EXPECT_EQ(W().DBGridEh1->currentIndex().row(), 3002);
    EXPECT_EQ(CurrentCell(0), "3009");
    // The scroll range stands for every row, and the status line counts them.
    EXPECT_EQ(W().DBGridEh1->verticalScrollBar()->value(),
              W().DBGridEh1->verticalScrollBar()->maximum());
    EXPECT_EQ(W().lblRowCount->text(), ToQt(RowCountText(3003)));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    W().actCheck->trigger();
    EXPECT_EQ(StampedAt(3009), 1);
    EXPECT_EQ(StampedAt(3008), 0);
    EXPECT_TRUE(Window->Messages.empty());

    // Ctrl+Home goes back to the first record.
    PressKey(Qt::Key_End, Qt::ControlModifier);
    PressKey(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(DataSet().CurrentRow(), 0);
    EXPECT_EQ(CurrentCell(0), "1");
}

TEST_F(LongWork, TheScrollBarLetGoAtItsEndFetchesTheRest) {
    AddRecords(2000);
    Start();
    QScrollBar* bar = W().DBGridEh1->verticalScrollBar();
    bar->setSliderDown(true);
    bar->setValue(bar->maximum());
    QApplication::processEvents();
    // While dragged, the thumb stands for the rows fetched so far.
    EXPECT_FALSE(DataSet().AllFetched());
    bar->setSliderDown(false);
    EXPECT_TRUE(DataSet().AllFetched());
    EXPECT_EQ(DataSet().CurrentRow(), 2002);
    EXPECT_EQ(CurrentCell(0), "2009");
}

TEST_F(LongWork, TheStatusLineTellsWhatTheExportDid) {
    std::filesystem::create_directory(Dir.Path() / "out");
    Start();
    W().actExportNow->trigger();
    EXPECT_TRUE(Window->Messages.empty());
    EXPECT_EQ(W().lblStatus->text(), QString::fromUtf8("Экспорт завершён: записано строк 3, "
                                                       "помечено записей 3"));
    // The stamped records left the view, which is empty and so wholly fetched.
    EXPECT_EQ(W().lblRowCount->text(), ToQt(RowCountText(0)));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(LongWork, TheWaitCursorIsOnWhileACommandWorksAndOffAfterItsFailure) {
    StartShowing();
    W().Controller().Settings().ExportTableName = "NO_SUCH_TABLE";
    bool boxShown = false;
    int cursorsUnderBox = 0;
    Qt::CursorShape shapeUnderBox = Qt::WaitCursor;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        boxShown = true;
        // The box takes an arrow over the wait cursor of the command.
        cursorsUnderBox = QApplication::overrideCursor() ? 1 : 0;
        shapeUnderBox = QApplication::overrideCursor()->shape();
        QApplication::restoreOverrideCursor();
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QApplication::setOverrideCursor(QCursor(shapeUnderBox));
        box->accept();
    });
    W().actCheckAll->trigger();
    EXPECT_TRUE(boxShown);
    EXPECT_EQ(cursorsUnderBox, 1);
    EXPECT_EQ(shapeUnderBox, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(W().Working());

    // A command that succeeds puts the cursor back as well.
    W().Controller().Settings().ExportTableName = "WEIGHTS";
    W().actCheckAll->trigger();
    EXPECT_EQ(StampedAt(1), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(LongWork, ClearingEveryStampAsksAndNoKeepsThem) {
    StartShowing();
    W().actCheckAll->trigger();
    ASSERT_EQ(Database.Stamped(), 4);
    QString caption, text, noText;
    int width = 0;
    bool noIsDefault = false;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        caption = box->windowTitle();
        text = box->text();
        noText = box->button(QMessageBox::No) ? box->button(QMessageBox::No)->text() : QString();
        noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
        EXPECT_NE(box->button(QMessageBox::Yes), nullptr);
        width = box->width();
        box->button(QMessageBox::No)->click();
    });
    W().actClearAll->trigger();
    EXPECT_EQ(caption, ToQt(AppTitle()));
    EXPECT_EQ(text, QString::fromUtf8("Снять метку экспорта у всех записей?\r\n"
                                      "При следующем экспорте они будут выгружены снова."));
    EXPECT_TRUE(noIsDefault);
    // Wide enough for its caption.
    EXPECT_GT(width, QFontMetrics(W().font()).horizontalAdvance(caption));
    EXPECT_EQ(Database.Stamped(), 4);

    WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    W().actClearAll->trigger();
    EXPECT_EQ(Database.Stamped(), 0);
    EXPECT_TRUE(Window->Messages.empty());
}

// Makes a locale current for this thread, as the program's start makes the user's.
class ThreadLocale {
public:
    explicit ThreadLocale(const char* name) : FLocale(newlocale(LC_ALL_MASK, name, nullptr)) {
        if (FLocale != nullptr)
            FPrevious = uselocale(FLocale);
    }
    ~ThreadLocale() {
        if (FLocale != nullptr) {
            uselocale(FPrevious);
            freelocale(FLocale);
        }
    }
    ThreadLocale(const ThreadLocale&) = delete;
    ThreadLocale& operator=(const ThreadLocale&) = delete;
    bool Available() const { return FLocale != nullptr; }

private:
    locale_t FLocale;
    locale_t FPrevious = nullptr;
};

TEST_F(LongWork, ARussianDesktopReadsThousandsWithANoBreakSpace) {
    {
        const ThreadLocale russian("ru_RU.UTF-8");
        ASSERT_TRUE(russian.Available()) << "ru_RU.UTF-8 is not generated on this machine";
        TextFormatSettings = TextFormatSettingsOfCurrentLocale();
    }
    Database.Execute("update WEIGHTS set NETT = 31433.75 where IDR = 1");
    Start();
    EXPECT_EQ(W().dcrStat->index(0, 3).data().toString(), QString::fromUtf8("31\u00A0433,75"));
}

} // namespace
} // namespace gravlink::test
