#include "ui/data_grid.h"

#include "ui/data_source_model.h"
#include "ui/grid_search_dialog.h"
#include "ui/wait_cursor.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

namespace gravlink {

TDataGrid::TDataGrid(TDataSourceModel& source, QWidget* parent)
    : QTableView(parent), FSource(source) {
    setModel(&FSource);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* titles = horizontalHeader();
    titles->setSectionsMovable(true);
    // A pressed title would select its column and so move the current record to the
    // top row on screen, the one the marking commands then act on.
    titles->setSectionsClickable(false);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setHighlightSections(false);
    titles->setStretchLastSection(false);

    // Indicator column: narrow, rows as high as one line of text.
    QHeaderView* indicator = verticalHeader();
    const int rowHeight = fontMetrics().height() + 6;
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setDefaultSectionSize(rowHeight);
    indicator->setMinimumSectionSize(rowHeight);
    indicator->setFixedWidth(14);
    indicator->setHighlightSections(false);
    indicator->setSectionsClickable(false);

    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, &TDataGrid::ScrollBarReleased);
    connect(&FSource, &QAbstractItemModel::modelReset, this, &TDataGrid::SourceReset);
    connect(&FSource, &TDataSourceModel::CurrentRowChanged, this, &TDataGrid::FollowCursor);
}

TDataGrid::~TDataGrid() = default;

int TDataGrid::ColumnWidth(int column) const {
    const QFontMetrics metrics = fontMetrics();
    const int byWidth =
        FSource.DisplayWidth(column) * metrics.horizontalAdvance(QLatin1Char('0')) + 4;
    const QString title = FSource.headerData(column, Qt::Horizontal).toString();
    const int byTitle = horizontalHeader()->fontMetrics().horizontalAdvance(title) + 8;
    return std::max(byWidth, byTitle);
}

void TDataGrid::SourceReset() {
    for (int column = 0; column < FSource.columnCount(); ++column)
        setColumnWidth(column, ColumnWidth(column));
    scrollToTop();
    FollowCursor(FSource.CurrentRow());
}

void TDataGrid::FollowCursor(int row) {
    if (row < 0 || row >= FSource.rowCount())
        return;
    const int column = std::clamp(FColumn, 0, std::max(0, FSource.columnCount() - 1));
    const QModelIndex target = FSource.index(row, column);
    if (currentIndex() != target)
        setCurrentIndex(target);
    scrollTo(target);
}

void TDataGrid::GoToCell(int row, int column) {
    FColumn = column;
    FSource.MoveCursor(row);
    FollowCursor(FSource.CurrentRow());
}

void TDataGrid::GoToLast() {
    {
        const TOverrideCursor wait;
        FSource.FetchAll();
    }
    if (FSource.rowCount() > 0)
        GoToCell(FSource.rowCount() - 1, FColumn);
}

void TDataGrid::GoToFirst() {
    if (FSource.rowCount() > 0)
        GoToCell(0, FColumn);
}

void TDataGrid::ScrollBarReleased() {
    const QScrollBar* bar = verticalScrollBar();
    if (bar->value() == bar->maximum() && FSource.canFetchMore({}))
        GoToLast();
}

void TDataGrid::verticalScrollbarValueChanged(int value) {
    // While the thumb is dragged it stands for the rows fetched so far; let go at the
    // end, it fetches the rest.
    if (verticalScrollBar()->isSliderDown())
        return;
    QTableView::verticalScrollbarValueChanged(value);
}

void TDataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    FColumn = current.column();
    if (current.row() != FSource.CurrentRow())
        FSource.MoveCursor(current.row());
}

void TDataGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Find)) {
        OpenSearch();
        return;
    }
    if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_End) {
        GoToLast();
        return;
    }
    if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_Home) {
        GoToFirst();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TDataGrid::keyboardSearch(const QString&) {}

TGridSearchDialog& TDataGrid::SearchDialog() {
    if (!FSearch)
        FSearch = new TGridSearchDialog(*this);
    return *FSearch;
}

void TDataGrid::OpenSearch() {
    TGridSearchDialog& dialog = SearchDialog();
    dialog.Prepare(FColumn);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

} // namespace gravlink
