#pragma once

#include <QTableView>

namespace gravlink {

class TDataSourceModel;
class TGridSearchDialog;

// DBGridEh1: the records of the record view. Read-only cells, a title row, the indicator
// column and grid lines. The view's current row is the data set's current record in
// both directions, and each new opening of the data set starts at its first record.
// Ctrl+F opens the search dialog.
class TDataGrid : public QTableView {
    Q_OBJECT

public:
    explicit TDataGrid(TDataSourceModel& source, QWidget* parent = nullptr);
    ~TDataGrid() override;

    TDataSourceModel& Source() const { return FSource; }
    // The search dialog, created on first use.
    TGridSearchDialog& SearchDialog();
    void OpenSearch();
    // Makes (row, column) current and visible; the data set's cursor follows.
    void GoToCell(int row, int column);
    // The data set's last record, every remaining row fetched first (Ctrl+End, the
    // scroll bar dragged to its end); its first record (Ctrl+Home).
    void GoToLast();
    void GoToFirst();
    // Typing does not jump to a matching row: the current record moves only where the
    // operator moves it, as the marking commands act on it. Ctrl+F searches.
    void keyboardSearch(const QString& search) override;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void verticalScrollbarValueChanged(int value) override;

private:
    void SourceReset();
    void FollowCursor(int row);
    int ColumnWidth(int column) const;
    void ScrollBarReleased();

    TDataSourceModel& FSource;
    TGridSearchDialog* FSearch = nullptr;
    int FColumn = 0;
};

} // namespace gravlink
