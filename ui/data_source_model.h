#pragma once

#include "fib/fib_dataset.h"

#include <QAbstractTableModel>
#include <functional>

namespace gravlink {

// dcrStat: the data set as a table for the grid. Follows the data set through its data
// link: opened and closed reset the table, fetched rows are appended, a scroll of the
// data set's cursor is passed on. Rows come from the data set's cache and are fetched
// only when the view asks for more.
class TDataSourceModel : public QAbstractTableModel, private IDataSetLink {
    Q_OBJECT

public:
    // Runs a step that may fail (a fetch) where a failure can be reported.
    using TGuard = std::function<void(const std::function<void()>&)>;

    explicit TDataSourceModel(TFIBCustomDataSet& dataSet, QObject* parent = nullptr);
    ~TDataSourceModel() override;

    TFIBCustomDataSet& DataSet() const { return FDataSet; }
    void SetGuard(TGuard guard) { FGuard = std::move(guard); }
    // Rows handed to the view per fetch.
    static constexpr int FetchBlock = 32;

    // The data set's current row as the table knows it; -1 without one.
    int CurrentRow() const;
    // The field's display width, in characters.
    int DisplayWidth(int column) const;
    // Moves the data set's cursor to row, fetching up to it; a failure is reported.
    void MoveCursor(int row);
    // Runs a step that may fail where a failure can be reported.
    void Run(const std::function<void()>& step) const;
    // While held (the window's work runs), the table asks the data set for no rows.
    void SetHeld(bool held) { FHeld = held; }
    bool Held() const { return FHeld; }
    // Fetches every remaining row; the table grows as they arrive, and RowsFetching
    // tells how far it is a few times a second. A failure is reported.
    void FetchAll();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // The data set's cursor moved to row (-1: no row).
    void CurrentRowChanged(int row);
    // During FetchAll: the rows fetched so far.
    void RowsFetching(int rows);
    // The rows of the data set once all are fetched; -1 while some are not, or closed.
    void RowCountKnown(int rows);

private:
    void DataSetChanged(TFIBCustomDataSet& dataSet, TDataSetEvent event) override;
    void AppendFetchedRows();
    void TellRowCount();

    TFIBCustomDataSet& FDataSet;
    TGuard FGuard;
    // The table shows the data set only between deOpened and deClosing: rows fetched
    // while it opens arrive before its fields are complete.
    bool FOpen = false;
    int FRows = 0;
    int FColumns = 0;
    int FCurrent = -1;
    bool FFetching = false;
    bool FHeld = false;
    int FToldCount = -1;
};

} // namespace gravlink
