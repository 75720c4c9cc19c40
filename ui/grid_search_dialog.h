#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace gravlink {

class TDataGrid;

// How a cell's text must hold the pattern.
enum class TSearchMatch { AnyPart, WholeField, FieldStart };
enum class TSearchDirection { Up, Down, All };

// Whether a cell's text matches the pattern.
bool CellMatches(const QString& cell, const QString& pattern, TSearchMatch match,
                 bool caseSensitive);

// "Поиск": finds the next cell of one column that matches a pattern and makes its
// record current, fetching further rows as it goes.
class TGridSearchDialog : public QDialog {
    Q_OBJECT

public:
    explicit TGridSearchDialog(TDataGrid& grid);

    // Fills the column list from the grid and selects column.
    void Prepare(int column);
    // Searches from the record after (or before) the current one; false when no cell
    // matches.
    bool FindNext();

    QLineEdit* edtPattern = nullptr;
    QComboBox* cmbColumn = nullptr;
    QComboBox* cmbMatch = nullptr;
    QRadioButton* rbUp = nullptr;
    QRadioButton* rbDown = nullptr;
    QRadioButton* rbAll = nullptr;
    QCheckBox* chkCase = nullptr;
    QCheckBox* chkFormat = nullptr;
    QPushButton* btnFindNext = nullptr;
    QPushButton* btnClose = nullptr;

private:
    TSearchDirection Direction() const;
    // The text of a cell as the search compares it: the display text, or the plain
    // value when the format is not to be considered.
    QString CellText(int row, int column) const;
    bool Matches(int row, int column) const;
    // The first matching row from `from` on, up to `last` (-1: to the end, fetching as
    // needed); -1 for none.
    int SearchDown(int from, int column, int last = -1) const;
    int SearchUp(int from, int column) const;

    TDataGrid& FGrid;
};

} // namespace gravlink
