#include "support/date_time_value.h"
#include "tests/ui/window_fixture.h"
#include "ui/data_source_model.h"

#include <QDateEdit>
#include <QLabel>
#include <QTimeEdit>
#include <QWidget>
#include <algorithm>

namespace gravlink::test {
namespace {

class PeriodPanel : public WindowTest {
protected:
    int PanelHeight() {
        QApplication::processEvents();
        return W().pnlExpand->isVisible() ? W().pnlExpand->height() : 0;
    }
};

TEST_F(PeriodPanel, StartsHiddenWithTodayAndTheWholeDay) {
    Start();
    EXPECT_EQ(PanelHeight(), 0);
    EXPECT_FALSE(W().Controller().PeriodFilter());
    const TDateTime today = DatePart(CurrentDateTime());
    EXPECT_EQ(W().DateBegin(), today);
    EXPECT_EQ(W().DateEnd(), today);
    EXPECT_EQ(W().TimeBegin(), 0.0);
    EXPECT_EQ(W().TimeEnd(), EncodeTime(23, 59, 59, 0));
    EXPECT_EQ(W().Controller().PeriodBegin(), today);
    EXPECT_EQ(W().Controller().PeriodEnd(), today + EncodeTime(23, 59, 59, 0));
    // Pickers at their places on the panel, or moved right as far as a wider face needs.
    const QWidget* row[] = {static_cast<QWidget*>(W().Label1), W().dtpDateBegin, W().dtpTimeBegin,
                            static_cast<QWidget*>(W().Label2), W().dtpDateEnd,   W().dtpTimeEnd};
    const QRect designed[] = {{12, 12, 50, 13},  {68, 8, 85, 21},  {152, 8, 73, 21},
                              {228, 12, 12, 13}, {244, 8, 85, 21}, {328, 8, 73, 21}};
    for (int index = 0; index < 6; ++index) {
        const QRect place = row[index]->geometry();
        EXPECT_EQ(place.top(), designed[index].top()) << index;
        EXPECT_EQ(place.height(), designed[index].height()) << index;
        EXPECT_GE(place.left(), designed[index].left()) << index;
        EXPECT_GE(place.width(), std::max(designed[index].width(), row[index]->sizeHint().width()));
        if (index > 0) {
            EXPECT_GE(place.left(), row[index - 1]->geometry().right()) << index;
        }
    }
}

TEST_F(PeriodPanel, ExpandShowsThePanelAndFiltersByThePickers) {
    Start();
    W().actExpand->trigger();
    EXPECT_EQ(PanelHeight(), 40);
    EXPECT_TRUE(W().Controller().PeriodFilter());
    EXPECT_EQ(W().dcrStat->rowCount(), 0); // nothing was weighed today

    // An operator's change of a date refreshes at once.
    CountResets();
    W().dtpDateBegin->setDate(QDate(2007, 4, 9));
    EXPECT_GE(Resets, 1);
    EXPECT_EQ(W().DateBegin(), EncodeDate(2007, 4, 9));
    EXPECT_EQ(W().dcrStat->rowCount(), 3); // 1, 2 and 3; 4 lies before the period

    // A time alone does not refresh; the next refresh uses it.
    Resets = 0;
    W().dtpTimeBegin->setTime(QTime(10, 0, 0));
    EXPECT_EQ(Resets, 0);
    EXPECT_EQ(W().TimeBegin(), EncodeTime(10, 0, 0, 0));
    EXPECT_EQ(W().dcrStat->rowCount(), 3);
    W().dtpDateEnd->setDate(QDate(2007, 4, 9));
    EXPECT_EQ(W().dcrStat->rowCount(), 1); // 12:30 on the 9th
    EXPECT_EQ(W().dcrStat->index(0, 0).data().toString(), "2");

    // Collapsing turns the filter off and keeps the pickers.
    W().actExpand->trigger();
    EXPECT_EQ(PanelHeight(), 0);
    EXPECT_FALSE(W().Controller().PeriodFilter());
    EXPECT_EQ(W().dcrStat->rowCount(), 3);
    EXPECT_EQ(W().DateBegin(), EncodeDate(2007, 4, 9));

    // Shown again, the panel filters by the pickers' last values.
    W().actExpand->trigger();
    EXPECT_EQ(PanelHeight(), 40);
    EXPECT_EQ(W().TimeBegin(), EncodeTime(10, 0, 0, 0));
    ASSERT_EQ(W().dcrStat->rowCount(), 1);
    EXPECT_EQ(W().dcrStat->index(0, 0).data().toString(), "2");
    EXPECT_TRUE(Window->Messages.empty());
}

TEST_F(PeriodPanel, DatesSetByTheProgramRunNoHandler) {
    Start();
    W().actExpand->trigger();
    W().dtpTimeEnd->setTime(QTime(8, 30, 0));
    CountResets();
    W().SetPickerDates(EncodeDate(2007, 4, 9));
    EXPECT_EQ(Resets, 0);
    EXPECT_EQ(W().DateBegin(), EncodeDate(2007, 4, 9));
    EXPECT_EQ(W().DateEnd(), EncodeDate(2007, 4, 9));
    // The times are kept.
    EXPECT_EQ(W().TimeEnd(), EncodeTime(8, 30, 0, 0));
    W().actRefresh->trigger();
    EXPECT_EQ(W().dcrStat->rowCount(), 1); // 08:00 on the 9th
}

} // namespace
} // namespace gravlink::test
