#include "tests/ui/window_fixture.h"
#include "ui/data_grid.h"
#include "ui/data_source_model.h"
#include "ui/grid_search_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>

namespace gravlink::test {
namespace {

TEST(CellMatches, ByMatchKindAndCase) {
    struct Case {
        const char* Cell;
        const char* Pattern;
        TSearchMatch Match;
        bool CaseSensitive;
        bool Expected;
    };
    const Case cases[] = {
        {"пшеница", "ШЕН", TSearchMatch::AnyPart, false, true},
        {"пшеница", "ШЕН", TSearchMatch::AnyPart, true, false},
        {"пшеница", "шен", TSearchMatch::FieldStart, false, false},
        {"пшеница", "Пш", TSearchMatch::FieldStart, false, true},
        {"пшеница", "пшениц", TSearchMatch::WholeField, false, false},
        {"пшеница", "ПШЕНИЦА", TSearchMatch::WholeField, false, true},
        {"", "", TSearchMatch::WholeField, true, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CellMatches(QString::fromUtf8(c.Cell), QString::fromUtf8(c.Pattern), c.Match,
                              c.CaseSensitive),
                  c.Expected)
            << c.Cell << " / " << c.Pattern;
}

class GridSearch : public WindowTest {
protected:
    // Opened the operator's way, by Ctrl+F on the grid.
    TGridSearchDialog& Open(int column, const char* pattern) {
        QKeyEvent find(QEvent::KeyPress, Qt::Key_F, Qt::ControlModifier);
        QApplication::sendEvent(W().DBGridEh1, &find);
        TGridSearchDialog& dialog = W().DBGridEh1->SearchDialog();
        EXPECT_TRUE(dialog.isVisible());
        dialog.cmbColumn->setCurrentIndex(column);
        dialog.edtPattern->setText(QString::fromUtf8(pattern));
        return dialog;
    }
};

TEST_F(GridSearch, FindsAValueFurtherDownFetchingAsItGoes) {
    AddRecords(500);
    Start();
    ASSERT_LT(DataSet().RecordCount(), 100);
    TGridSearchDialog& dialog = Open(2, "C400");
    EXPECT_EQ(dialog.windowTitle(), "Поиск");
    EXPECT_EQ(dialog.cmbColumn->count(), 4);
    dialog.cmbMatch->setCurrentIndex(static_cast<int>(TSearchMatch::WholeField));
    ASSERT_TRUE(dialog.FindNext());
    // Records 1, 2, 3, then 10 on: c400 is row 393.
    EXPECT_EQ(DataSet().CurrentRow(), 393);
    EXPECT_EQ(DataSet().FieldValue("IDR").AsInteger(), 400);
    EXPECT_EQ(W().DBGridEh1->currentIndex(), W().dcrStat->index(393, 2));
    EXPECT_FALSE(DataSet().AllFetched());

    // With the letter case, "C400" is nowhere: the record stays.
    dialog.chkCase->setChecked(true);
    EXPECT_FALSE(dialog.FindNext());
    EXPECT_EQ(DataSet().CurrentRow(), 393);

    // Upwards from there, a start of a field.
    dialog.chkCase->setChecked(false);
    dialog.rbUp->setChecked(true);
    dialog.cmbMatch->setCurrentIndex(static_cast<int>(TSearchMatch::FieldStart));
    dialog.edtPattern->setText("whe");
    ASSERT_TRUE(dialog.FindNext());
    EXPECT_EQ(DataSet().CurrentRow(), 0);
    EXPECT_TRUE(Window->Messages.empty());
}

TEST_F(GridSearch, ComparesDisplayTextsOrPlainValues) {
    Start();
    W().DBGridEh1->GoToCell(0, 3);
    TGridSearchDialog& dialog = Open(3, "0,00");
    dialog.cmbMatch->setCurrentIndex(static_cast<int>(TSearchMatch::WholeField));
    ASSERT_TRUE(dialog.FindNext()); // NETT 0 of record 3 shows as 0,00
    EXPECT_EQ(DataSet().CurrentRow(), 2);

    // All directions: round from the top; the value -3 is "-3" unformatted.
    dialog.chkFormat->setChecked(false);
    dialog.rbAll->setChecked(true);
    dialog.edtPattern->setText("-3");
    ASSERT_TRUE(dialog.FindNext());
    EXPECT_EQ(DataSet().CurrentRow(), 1);
    dialog.chkFormat->setChecked(true);
    EXPECT_FALSE(dialog.FindNext());
}

} // namespace
} // namespace gravlink::test
