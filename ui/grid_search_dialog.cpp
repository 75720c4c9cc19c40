#include "ui/grid_search_dialog.h"

#include "fib/fib_dataset.h"
#include "ui/data_grid.h"
#include "ui/data_source_model.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace gravlink {

bool CellMatches(const QString& cell, const QString& pattern, TSearchMatch match,
                 bool caseSensitive) {
    const Qt::CaseSensitivity sensitivity = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    switch (match) {
    case TSearchMatch::AnyPart:
        return cell.contains(pattern, sensitivity);
    case TSearchMatch::WholeField:
        return cell.compare(pattern, sensitivity) == 0;
    case TSearchMatch::FieldStart:
        return cell.startsWith(pattern, sensitivity);
    }
    return false;
}

TGridSearchDialog::TGridSearchDialog(TDataGrid& grid) : QDialog(&grid), FGrid(grid) {
    setWindowTitle(QStringLiteral("Поиск"));
    // A window of its own does not take its parent's face.
    setFont(grid.font());
    setModal(false);

    edtPattern = new QLineEdit(this);
    cmbColumn = new QComboBox(this);
    cmbMatch = new QComboBox(this);
    cmbMatch->addItem(QStringLiteral("С любой части поля"));
    cmbMatch->addItem(QStringLiteral("Поля целиком"));
    cmbMatch->addItem(QStringLiteral("С начала поля"));
    auto* patternLabel = new QLabel(QStringLiteral("&Образец:"), this);
    patternLabel->setBuddy(edtPattern);
    auto* columnLabel = new QLabel(QStringLiteral("&Поиск в:"), this);
    columnLabel->setBuddy(cmbColumn);

    auto* directions = new QGroupBox(this);
    rbUp = new QRadioButton(QStringLiteral("Вверх"), directions);
    rbDown = new QRadioButton(QStringLiteral("Вниз"), directions);
    rbAll = new QRadioButton(QStringLiteral("Все"), directions);
    rbDown->setChecked(true);
    auto* directionRow = new QHBoxLayout(directions);
    directionRow->addWidget(rbUp);
    directionRow->addWidget(rbDown);
    directionRow->addWidget(rbAll);

    chkCase = new QCheckBox(QStringLiteral("С учетом ре&гистра"), this);
    chkFormat = new QCheckBox(QStringLiteral("С у&четом формата"), this);
    chkFormat->setChecked(true);

    btnFindNext = new QPushButton(QStringLiteral("На&йти далее"), this);
    btnFindNext->setDefault(true);
    btnClose = new QPushButton(QStringLiteral("Закрыть"), this);

    auto* fields = new QGridLayout;
    fields->addWidget(patternLabel, 0, 0);
    fields->addWidget(edtPattern, 0, 1);
    fields->addWidget(columnLabel, 1, 0);
    fields->addWidget(cmbColumn, 1, 1);
    fields->addWidget(cmbMatch, 2, 1);
    fields->addWidget(directions, 3, 0, 1, 2);
    fields->addWidget(chkCase, 4, 0, 1, 2);
    fields->addWidget(chkFormat, 5, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnFindNext);
    buttons->addWidget(btnClose);
    buttons->addStretch();
    auto* whole = new QHBoxLayout(this);
    whole->addLayout(fields, 1);
    whole->addLayout(buttons);

    connect(btnFindNext, &QPushButton::clicked, this, [this] {
        if (!FindNext())
            QApplication::beep();
    });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
}

void TGridSearchDialog::Prepare(int column) {
    const TDataSourceModel& source = FGrid.Source();
    cmbColumn->clear();
    for (int index = 0; index < source.columnCount(); ++index)
        cmbColumn->addItem(source.headerData(index, Qt::Horizontal).toString());
    if (column >= 0 && column < cmbColumn->count())
        cmbColumn->setCurrentIndex(column);
    edtPattern->setFocus();
    edtPattern->selectAll();
}

TSearchDirection TGridSearchDialog::Direction() const {
    if (rbUp->isChecked())
        return TSearchDirection::Up;
    if (rbAll->isChecked())
        return TSearchDirection::All;
    return TSearchDirection::Down;
}

QString TGridSearchDialog::CellText(int row, int column) const {
    const TFIBCustomDataSet& dataSet = FGrid.Source().DataSet();
    if (chkFormat->isChecked())
        return ToQt(dataSet.DisplayTextAt(row, column));
    const TField& field = dataSet.Fields(column);
    const TVariant value = field.VariantOf(dataSet.FieldDataAt(row, column));
    return value.IsNull() ? QString() : ToQt(value.AsString());
}

bool TGridSearchDialog::Matches(int row, int column) const {
    return CellMatches(CellText(row, column), edtPattern->text(),
                       static_cast<TSearchMatch>(cmbMatch->currentIndex()), chkCase->isChecked());
}

int TGridSearchDialog::SearchDown(int from, int column, int last) const {
    TFIBCustomDataSet& dataSet = FGrid.Source().DataSet();
    for (int row = std::max(from, 0); last < 0 || row <= last; ++row) {
        if (row >= dataSet.RecordCount() && dataSet.FetchMore(TDataSourceModel::FetchBlock) == 0)
            return -1;
        if (Matches(row, column))
            return row;
    }
    return -1;
}

int TGridSearchDialog::SearchUp(int from, int column) const {
    for (int row = std::min(from, FGrid.Source().DataSet().RecordCount() - 1); row >= 0; --row)
        if (Matches(row, column))
            return row;
    return -1;
}

bool TGridSearchDialog::FindNext() {
    TDataSourceModel& source = FGrid.Source();
    const int column = cmbColumn->currentIndex();
    if (!source.DataSet().Active() || column < 0 || column >= source.columnCount())
        return false;
    const int current = source.CurrentRow();
    int found = -1;
    // A search may fetch every remaining row.
    const TOverrideCursor wait;
    source.Run([&] {
        switch (Direction()) {
        case TSearchDirection::Down:
            found = SearchDown(current + 1, column);
            break;
        case TSearchDirection::Up:
            found = SearchUp(current - 1, column);
            break;
        case TSearchDirection::All:
            // To the end, then round from the first record up to the current one.
            found = SearchDown(current + 1, column);
            if (found < 0)
                found = SearchDown(0, column, current);
            break;
        }
    });
    if (found < 0)
        return false;
    FGrid.GoToCell(found, column);
    return true;
}

} // namespace gravlink
