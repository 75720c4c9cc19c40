#include "tests/ui/window_fixture.h"
#include "ui/data_grid.h"
#include "ui/data_source_model.h"
#include "ui/grid_search_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <map>
#include <string>

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

// The texts letter for letter, "&" before the access letter; the options and
// directions that exist, and nothing more.
TEST_F(GridSearch, OffersItsTextsOptionsAndColumns) {
    Start();
    TGridSearchDialog& dialog = Open(0, "");
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Поиск"));

    std::map<QString, QWidget*> labels;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        labels[label->text()] = label->buddy();
    EXPECT_EQ(labels,
              (std::map<QString, QWidget*>{{QString::fromUtf8("&Образец:"), dialog.edtPattern},
                                           {QString::fromUtf8("&Поиск в:"), dialog.cmbColumn}}));

    const auto texts = [](const auto& widgets) {
        QStringList list;
        for (const auto* widget : widgets)
            list << widget->text();
        return list;
    };
    EXPECT_EQ(texts(dialog.findChildren<QRadioButton*>()),
              QString::fromUtf8("Вверх|Вниз|Все").split('|'));
    EXPECT_EQ(texts(dialog.findChildren<QCheckBox*>()),
              QString::fromUtf8("С учетом ре&гистра|С у&четом формата").split('|'));
    EXPECT_EQ(texts(dialog.findChildren<QPushButton*>()),
              QString::fromUtf8("На&йти далее|Закрыть").split('|'));
    QStringList matches, columns;
    for (int index = 0; index < dialog.cmbMatch->count(); ++index)
        matches << dialog.cmbMatch->itemText(index);
    EXPECT_EQ(matches,
              QString::fromUtf8("С любой части поля|Поля целиком|С начала поля").split('|'));
    // The columns of the grid, by their titles.
    for (int index = 0; index < dialog.cmbColumn->count(); ++index)
        columns << dialog.cmbColumn->itemText(index);
    EXPECT_EQ(columns, QString("IDR|WEIGH_DT|CARGO|NETT").split('|'));

    dialog.btnClose->click();
    EXPECT_FALSE(dialog.isVisible());
}

// From a record, "Найти далее" moves to the next matching one in the direction asked,
// never staying on the record it starts from; with none, the record stays.
TEST_F(GridSearch, FindsForwardBackwardAndAllRoundByMatchAndCase) {
    struct Case {
        int From;
        TSearchDirection Direction;
        TSearchMatch Match;
        bool CaseSensitive;
        const char* Pattern;
        int Expected; // -1: not found, the record stays
    };
    using enum TSearchDirection;
    using enum TSearchMatch;
    // Cargo by row: wheat, (null), rye;oats, c10, c11, c12.
    const Case cases[] = {
        {0, Down, AnyPart, false, "c1", 3},     {3, Down, AnyPart, false, "c1", 4},
        {5, Down, AnyPart, false, "c1", -1},    {5, Up, AnyPart, false, "c1", 4},
        {3, Up, AnyPart, false, "c1", -1},      {4, All, AnyPart, false, "c1", 5},
        {5, All, AnyPart, false, "c1", 3},      {0, Down, AnyPart, false, "OATS", 2},
        {0, Down, AnyPart, true, "OATS", -1},   {0, Down, WholeField, false, "c1", -1},
        {0, Down, WholeField, false, "C11", 4}, {0, Down, WholeField, true, "C11", -1},
        {5, Up, FieldStart, false, "Rye", 2},   {5, Up, FieldStart, false, "oats", -1},
    };
    AddRecords(3);
    Start();
    for (const Case& c : cases) {
        W().DBGridEh1->GoToCell(c.From, 2);
        TGridSearchDialog& dialog = Open(2, c.Pattern);
        QRadioButton* const directions[] = {dialog.rbUp, dialog.rbDown, dialog.rbAll};
        directions[static_cast<int>(c.Direction)]->setChecked(true);
        dialog.cmbMatch->setCurrentIndex(static_cast<int>(c.Match));
        dialog.chkCase->setChecked(c.CaseSensitive);
        dialog.btnFindNext->click();
        const auto which = "case " + std::to_string(&c - cases);
        EXPECT_EQ(DataSet().CurrentRow(), c.Expected < 0 ? c.From : c.Expected) << which;
        EXPECT_EQ(W().DBGridEh1->currentIndex().row(), DataSet().CurrentRow()) << which;
    }
    EXPECT_TRUE(Window->Messages.empty());
}

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
