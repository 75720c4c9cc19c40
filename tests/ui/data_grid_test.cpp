#include "tests/ui/window_fixture.h"
#include "ui/data_grid.h"
#include "ui/data_source_model.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace gravlink::test {
namespace {

class DataGrid : public WindowTest {
protected:
    QString Cell(int row, int column) const {
        return Window->dcrStat->index(row, column).data().toString();
    }
};

TEST_F(DataGrid, ShowsOneColumnPerFieldWithLabelsAndDisplayTexts) {
    Start();
    TDataSourceModel& model = *W().dcrStat;
    ASSERT_EQ(model.columnCount(), 4);
    const char* titles[] = {"IDR", "WEIGH_DT", "CARGO", "NETT"};
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(), titles[column]);
        // Wide enough for the field's display width in digits.
        EXPECT_GE(W().DBGridEh1->columnWidth(column),
                  DataSet().Fields(column).DisplayWidth() *
                      W().DBGridEh1->fontMetrics().horizontalAdvance('0'));
    }
    ASSERT_EQ(model.rowCount(), 3); // the unstamped records
    EXPECT_EQ(Cell(0, 0), "1");
    EXPECT_EQ(Cell(0, 1), "09.04.2007 08:00");
    EXPECT_EQ(Cell(0, 2), "wheat");
    EXPECT_EQ(Cell(0, 3), "1 234,50");
    EXPECT_EQ(Cell(1, 2), ""); // null
    EXPECT_EQ(Cell(1, 3), "-3,00");
    // Cells are read-only; the indicator marks the current record.
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.headerData(0, Qt::Vertical).toString().isEmpty());
    EXPECT_TRUE(model.headerData(1, Qt::Vertical).toString().isEmpty());
    EXPECT_EQ(W().focusWidget(), W().DBGridEh1); // first in the tab order, holding the focus
}

TEST_F(DataGrid, FetchesRowsOnlyAsTheViewAsksForThem) {
    AddRecords(1000);
    Start();
    TDataSourceModel& model = *W().dcrStat;
    const int shown = model.rowCount();
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, 200);
    EXPECT_FALSE(DataSet().AllFetched());
    EXPECT_EQ(DataSet().RecordCount(), shown);

    ASSERT_TRUE(model.canFetchMore({}));
    model.fetchMore({});
    EXPECT_EQ(model.rowCount(), shown + TDataSourceModel::FetchBlock);
    EXPECT_EQ(DataSet().RecordCount(), model.rowCount());

    // Scrolling to the end of the view fetches the next block, not the rest.
    const int before = model.rowCount();
    QScrollBar* bar = W().DBGridEh1->verticalScrollBar();
    bar->setValue(bar->maximum());
    QApplication::processEvents();
    EXPECT_GT(model.rowCount(), before);
    EXPECT_LT(model.rowCount(), 1003);

    // Moving to a row far down fetches up to it.
    W().DBGridEh1->GoToCell(700, 0);
    EXPECT_EQ(DataSet().CurrentRow(), 700);
    EXPECT_GE(model.rowCount(), 701);
    EXPECT_EQ(W().DBGridEh1->currentIndex().row(), 700);
}

TEST_F(DataGrid, EveryRefreshAndCommitResetsTheTable) {
    AddRecords(100);
    Start();
    CountResets();
    TDataGrid& grid = *W().DBGridEh1;
    W().dcrStat->fetchMore({});
    grid.setCurrentIndex(W().dcrStat->index(50, 2));
    ASSERT_EQ(DataSet().CurrentRow(), 50);

    W().actRefresh->trigger();
    EXPECT_GE(Resets, 2); // closed, then opened
    // The view starts again at the first record, scrolled to the top.
    EXPECT_EQ(DataSet().CurrentRow(), 0);
    EXPECT_EQ(grid.currentIndex().row(), 0);
    EXPECT_EQ(grid.verticalScrollBar()->value(), 0);
    EXPECT_EQ(W().dcrStat->columnCount(), 4);

    // A commit closes the data set: the table empties.
    Resets = 0;
    W().Controller().trnEdit().Commit();
    EXPECT_EQ(Resets, 1);
    EXPECT_EQ(W().dcrStat->rowCount(), 0);
    EXPECT_EQ(W().dcrStat->columnCount(), 0);
    EXPECT_FALSE(W().dcrStat->canFetchMore({}));
    EXPECT_TRUE(Window->Messages.empty());
}

TEST_F(DataGrid, MarkingCommandsActOnTheRowTheOperatorSelected) {
    Start();
    TDataGrid& grid = *W().DBGridEh1;
    grid.setCurrentIndex(W().dcrStat->index(1, 0)); // IDR 2
    EXPECT_EQ(DataSet().CurrentRow(), 1);
    W().actCheck->trigger();
    EXPECT_EQ(StampedAt(2), 1);
    EXPECT_EQ(StampedAt(1), 0);
    EXPECT_EQ(StampedAt(3), 0);
    // Refreshed: the stamped record has left the view.
    ASSERT_EQ(W().dcrStat->rowCount(), 2);
    EXPECT_EQ(W().dcrStat->index(1, 0).data().toString(), "3");

    // Seen through all records, the same row is cleared again.
    W().Controller().Settings().SqlSelect = "select IDR, EXPWDT from WEIGHTS order by IDR";
    W().actRefresh->trigger();
    grid.setCurrentIndex(W().dcrStat->index(1, 1));
    W().actClearOne->trigger();
    EXPECT_EQ(StampedAt(2), 0);
    EXPECT_EQ(StampedAt(4), 1);
    EXPECT_TRUE(Window->Messages.empty());
}

TEST_F(DataGrid, PressingAColumnTitleLeavesTheCurrentRecord) {
    AddRecords(100);
    Start();
    TDataGrid& grid = *W().DBGridEh1;
    grid.resize(600, 300);
    grid.setCurrentIndex(W().dcrStat->index(5, 0));
    // The current record out of sight, the first rows on screen: a title that selected
    // its column would move the record to the top one.
    grid.scrollTo(W().dcrStat->index(40, 0), QAbstractItemView::PositionAtTop);
    QApplication::processEvents();
    QHeaderView* titles = grid.horizontalHeader();
    const QPoint title(titles->sectionViewportPosition(2) + 5, titles->height() / 2);
    const auto mouse = [titles](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, titles->viewport()->mapToGlobal(at), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(titles->viewport(), &event);
    };
    mouse(QEvent::MouseButtonPress, title, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, title, Qt::NoButton);
    EXPECT_EQ(DataSet().CurrentRow(), 5);
    EXPECT_EQ(grid.currentIndex().row(), 5);

    // Dragged by its title, the column still moves, and the record stays.
    const QPoint first(titles->sectionViewportPosition(0) + 5, title.y());
    mouse(QEvent::MouseButtonPress, title, Qt::LeftButton);
    mouse(QEvent::MouseMove, title - QPoint(10, 0), Qt::LeftButton);
    mouse(QEvent::MouseMove, first, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, first, Qt::NoButton);
    EXPECT_EQ(titles->visualIndex(2), 0);
    EXPECT_EQ(DataSet().CurrentRow(), 5);

    W().actCheck->trigger();
    EXPECT_EQ(StampedAt(12), 1); // records 1, 2, 3, then 10 on: row 5 is IDR 12
    EXPECT_TRUE(Window->Messages.empty());
}

TEST_F(DataGrid, TypedLettersLeaveTheCurrentRecord) {
    Start();
    TDataGrid& grid = *W().DBGridEh1;
    grid.setCurrentIndex(W().dcrStat->index(0, 2)); // wheat
    // "r" begins the cargo of row 2: a letter must not carry the record there.
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_R, Qt::NoModifier, "r");
    QApplication::sendEvent(&grid, &letter);
    EXPECT_EQ(DataSet().CurrentRow(), 0);
    EXPECT_EQ(grid.currentIndex().row(), 0);
}

TEST_F(DataGrid, AFetchThatFailsIsReportedOnceAndTheRowsBeforeItStay) {
    AddRecords(100);
    Window = std::make_unique<RecordingWindow>();
    TfrmMain& form = Window->Controller();
    form.Settings() = Database.Settings((Dir.Path() / "out").string());
    // Row IDR 80 cannot be computed: the fetch that reaches it fails.
    form.Settings().SqlSelect = "select IDR, 1 / (IDR - 80) as Q from WEIGHTS order by IDR";
    form.FormCreate({{}, (Dir.Path() / "gravlink").string()});
    Window->show();
    QApplication::processEvents();
    ASSERT_TRUE(Window->Messages.empty());
    QScrollBar* bar = W().DBGridEh1->verticalScrollBar();
    for (int attempt = 0; attempt < 10 && Window->Messages.empty(); ++attempt) {
        bar->setValue(bar->maximum());
        QApplication::processEvents();
    }
    ASSERT_EQ(Window->Messages.size(), 1u);
    const int shown = W().dcrStat->rowCount();
    EXPECT_GT(shown, 0);
    EXPECT_LE(shown, 74); // records 1 .. 4 and 10 .. 79
    for (int row = 0; row < shown; ++row)
        EXPECT_FALSE(W().dcrStat->index(row, 0).data().toString().isEmpty()) << row;
}

} // namespace
} // namespace gravlink::test
