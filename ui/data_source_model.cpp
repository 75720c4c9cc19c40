#include "ui/data_source_model.h"

#include "ui/qt_text.h"

#include <chrono>

namespace gravlink {
namespace {
using Clock = std::chrono::steady_clock;
// Rows between two looks at the clock; the clock costs nothing beside a fetch.
constexpr int FetchAllChunk = 256;
// How often a fetch of every row tells how far it is, and how often the table grows
// meanwhile: each growth costs the view work over all its rows.
constexpr auto ProgressInterval = std::chrono::milliseconds(250);
constexpr auto GrowInterval = std::chrono::seconds(2);
} // namespace
} // namespace gravlink

namespace gravlink {

TDataSourceModel::TDataSourceModel(TFIBCustomDataSet& dataSet, QObject* parent)
    : QAbstractTableModel(parent), FDataSet(dataSet) {
    FDataSet.AddDataLink(this);
    if (FDataSet.Active())
        DataSetChanged(FDataSet, deOpened);
}

TDataSourceModel::~TDataSourceModel() {
    FDataSet.RemoveDataLink(this);
}

void TDataSourceModel::Run(const std::function<void()>& step) const {
    if (FGuard)
        FGuard(step);
    else
        step();
}

int TDataSourceModel::CurrentRow() const {
    return FOpen ? FCurrent : -1;
}

int TDataSourceModel::DisplayWidth(int column) const {
    return FOpen && column >= 0 && column < FColumns ? FDataSet.Fields(column).DisplayWidth() : 0;
}

void TDataSourceModel::MoveCursor(int row) {
    if (FOpen && row >= 0 && row != FDataSet.CurrentRow())
        Run([this, row] { FDataSet.MoveTo(row); });
}

void TDataSourceModel::DataSetChanged(TFIBCustomDataSet&, TDataSetEvent event) {
    switch (event) {
    case deOpened:
        beginResetModel();
        FOpen = true;
        FRows = FDataSet.RecordCount();
        FColumns = FDataSet.FieldCount();
        FCurrent = FDataSet.CurrentRow();
        endResetModel();
        emit CurrentRowChanged(FCurrent);
        TellRowCount();
        break;
    case deClosing:
    case deClosed:
        if (!FOpen && FRows == 0 && FColumns == 0)
            break;
        beginResetModel();
        FOpen = false;
        FRows = 0;
        FColumns = 0;
        FCurrent = -1;
        endResetModel();
        TellRowCount();
        break;
    case deRowsFetched:
        if (FOpen && !FFetching)
            AppendFetchedRows();
        break;
    case deScrolled: {
        if (!FOpen)
            break;
        // The cursor may have gone past what the table holds (a search fetching ahead).
        AppendFetchedRows();
        const int previous = FCurrent;
        FCurrent = FDataSet.CurrentRow();
        if (previous >= 0 && previous < FRows)
            emit headerDataChanged(Qt::Vertical, previous, previous);
        if (FCurrent >= 0)
            emit headerDataChanged(Qt::Vertical, FCurrent, FCurrent);
        emit CurrentRowChanged(FCurrent);
        break;
    }
    }
}

void TDataSourceModel::AppendFetchedRows() {
    const int count = FDataSet.RecordCount();
    if (count > FRows) {
        beginInsertRows({}, FRows, count - 1);
        FRows = count;
        endInsertRows();
    }
    TellRowCount();
}

void TDataSourceModel::TellRowCount() {
    const int known = FOpen && FDataSet.AllFetched() ? FRows : -1;
    if (known == FToldCount)
        return;
    FToldCount = known;
    emit RowCountKnown(known);
}

void TDataSourceModel::FetchAll() {
    if (!FOpen || FDataSet.AllFetched())
        return;
    FFetching = true;
    const bool held = FHeld;
    // The view asks for no rows of its own while it repaints meanwhile.
    FHeld = true;
    Run([this, held] {
        struct Done {
            TDataSourceModel& Model;
            bool Held;
            ~Done() {
                Model.FFetching = false;
                Model.FHeld = Held;
            }
        } done{*this, held};
        auto shown = Clock::now();
        auto grown = shown;
        while (FOpen && FDataSet.FetchMore(FetchAllChunk) == FetchAllChunk) {
            const auto now = Clock::now();
            if (now - shown < ProgressInterval)
                continue;
            // The scroll range grows with the rows, and the window repaints.
            if (now - grown >= GrowInterval) {
                AppendFetchedRows();
                grown = now;
            }
            emit RowsFetching(FDataSet.RecordCount());
            shown = Clock::now();
        }
    });
    if (FOpen)
        AppendFetchedRows();
}

int TDataSourceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FRows;
}

int TDataSourceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FColumns;
}

QVariant TDataSourceModel::data(const QModelIndex& index, int role) const {
    if (!FOpen || !index.isValid() || index.row() >= FRows || index.column() >= FColumns)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return ToQt(FDataSet.DisplayTextAt(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        switch (FDataSet.Fields(index.column()).DataType()) {
        case ftSmallint:
        case ftInteger:
        case ftFloat:
        case ftBCD:
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        }
    default:
        return {};
    }
}

QVariant TDataSourceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole && FOpen && section >= 0 && section < FColumns)
            return ToQt(FDataSet.Fields(section).DisplayLabel());
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }
    // The indicator column marks the current record.
    if (role == Qt::DisplayRole)
        return section == CurrentRow() ? QStringLiteral("\u25B8") : QString();
    if (role == Qt::TextAlignmentRole)
        return Qt::AlignCenter;
    return {};
}

Qt::ItemFlags TDataSourceModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool TDataSourceModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && FOpen && !FHeld && !FDataSet.AllFetched();
}

void TDataSourceModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    FFetching = true;
    Run([this] {
        struct Done {
            bool& Flag;
            ~Done() { Flag = false; }
        } done{FFetching};
        FDataSet.FetchMore(FetchBlock);
    });
    if (FOpen)
        AppendFetchedRows();
}

} // namespace gravlink
