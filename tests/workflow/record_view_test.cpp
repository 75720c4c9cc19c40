#include "app/report_texts.h"
#include "support/date_time_value.h"
#include "support/exception.h"
#include "tests/workflow/controller_fixture.h"

#include <algorithm>

namespace gravlink::test {
namespace {

using RecordView = ControllerTest;

TEST_F(RecordView, FirstShowOpensTheUnfilteredViewWithTodaysPeriod) {
    StartInteractive();
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
    EXPECT_TRUE(Form.dstStat().Active());
    EXPECT_FALSE(Form.PeriodFilter());
    EXPECT_EQ(Window.PanelHeight, 0);
    EXPECT_EQ(Window.DateBeginValue, DatePart(CurrentDateTime()));
    EXPECT_EQ(Form.BuildViewSql(), Form.Settings().SqlSelect);
}

// The IDRs the view holds, in ascending order: the period query has no order of its own.
std::vector<int> ViewedKeys(TpFIBDataSet& view) {
    std::vector<int> keys;
    for (view.First(); !view.Eof(); view.Next())
        keys.push_back(view.FieldValue("IDR").AsInteger());
    std::sort(keys.begin(), keys.end());
    return keys;
}

struct PeriodCase {
    const char* What;
    TDateTime DateBegin, TimeBegin, DateEnd, TimeEnd;
    std::vector<int> Keys;
};

// The period's bounds are excluded: a record on 00:00:00 of the first day or on the
// last bound is left out, and a whole day leaves out its last second; a begin later
// than the end gives an empty view, silently.
TEST_F(RecordView, ThePeriodHoldsWhatLiesStrictlyBetweenItsBounds) {
    const TDateTime day9 = EncodeDate(2007, 4, 9), day10 = EncodeDate(2007, 4, 10);
    const TDateTime midnight = EncodeTime(0, 0, 0, 0), last = EncodeTime(23, 59, 59, 0);
    // The 10th besides record 3 at its 00:00:00.
    Database.Isql("insert into WEIGHTS values (5, '2007-04-10 00:00:01', 'a', 1, 'Y', null);\n"
                  "insert into WEIGHTS values (6, '2007-04-10 23:59:58', 'b', 1, 'Y', null);\n"
                  "insert into WEIGHTS values (7, '2007-04-10 23:59:59', 'c', 1, 'Y', null);\n"
                  "insert into WEIGHTS values (8, '2007-04-10 23:59:59.5', 'd', 1, 'Y', null);\n");
    const PeriodCase cases[] = {
        {"the 9th, 00:00:00 to 23:59:59", day9, midnight, day9, last, {1, 2}},
        {"the 10th, 00:00:00 to 23:59:59", day10, midnight, day10, last, {5, 6}},
        {"the 9th to the 10th's 00:00:00", day9, midnight, day10, midnight, {1, 2}},
        {"the 9th to the 10th's 23:59:59", day9, midnight, day10, last, {1, 2, 3, 5, 6}},
        {"from the 9th's 08:00:00", day9, EncodeTime(8, 0, 0, 0), day10, last, {2, 3, 5, 6}},
        {"begin after end", day10, last, day9, midnight, {}},
    };
    StartInteractive();
    Form.actExpandExecute();
    for (const PeriodCase& c : cases) {
        Window.DateBeginValue = c.DateBegin;
        Window.TimeBeginValue = c.TimeBegin;
        Window.DateEndValue = c.DateEnd;
        Window.TimeEndValue = c.TimeEnd;
        Form.actRefreshExecute();
        ASSERT_TRUE(Form.dstStat().Active()) << c.What;
        EXPECT_EQ(ViewedKeys(Form.dstStat()), c.Keys) << c.What;
    }
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
}

TEST_F(RecordView, ShowingThePanelAgainUsesThePickersLastValues) {
    StartInteractive();
    Window.DateBeginValue = Window.DateEndValue = EncodeDate(2007, 4, 9);
    Window.TimeBeginValue = EncodeTime(10, 0, 0, 0);
    Form.actExpandExecute();
    EXPECT_EQ(ViewedKeys(Form.dstStat()), std::vector<int>{2});
    // Hidden: the filter is off and the pickers stay as they are.
    Form.actExpandExecute();
    EXPECT_FALSE(Form.PeriodFilter());
    EXPECT_EQ(ViewedKeys(Form.dstStat()), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Window.TimeBeginValue, EncodeTime(10, 0, 0, 0));
    Form.actExpandExecute();
    EXPECT_EQ(Window.PanelHeight, 40);
    EXPECT_EQ(ViewedKeys(Form.dstStat()), std::vector<int>{2});
}

TEST_F(RecordView, PeriodConditionFollowsThePeriodQueryDirectly) {
    StartInteractive();
    Window.DateBeginValue = EncodeDate(2007, 4, 9);
    Window.DateEndValue = EncodeDate(2007, 4, 9);
    Form.actExpandExecute();
    EXPECT_EQ(Window.PanelHeight, 40);
    EXPECT_EQ(Form.BuildViewSql(),
              "select IDR, WEIGH_DT, CARGO, NETT from WEIGHTS where 1=1 and WEIGH_DT > "
              "'2007-04-09 00:00:00' and WEIGH_DT < '2007-04-09 23:59:59'");
    EXPECT_TRUE(Form.dstStat().Active());
    // Toggling again shows the unfiltered view.
    Form.actExpandExecute();
    EXPECT_EQ(Window.PanelHeight, 0);
    EXPECT_EQ(Form.BuildViewSql(), Form.Settings().SqlSelect);
}

TEST_F(RecordView, ABadPeriodQueryIsReportedAndTheNextRefreshReconnects) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.SqlSelectWP = "select IDR from WEIGHTS order by IDR";
    Start(false, settings);
    Form.actExpandExecute();
    ASSERT_EQ(Window.Messages.size(), 1u);
    EXPECT_EQ(LastMessage().rfind(ReportTexts().QueryFailed + "\r\n", 0), 0u) << LastMessage();
    EXPECT_FALSE(Form.dbsGrav().Connected());

    Form.actExpandExecute();
    EXPECT_EQ(Window.Messages.size(), 1u);
    EXPECT_TRUE(Form.dbsGrav().Connected());
    EXPECT_TRUE(Form.dstStat().Active());
}

TEST_F(RecordView, AViewWithInputParametersIsRefused) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.SqlSelect = "select IDR from WEIGHTS where IDR > :minid";
    Start(false, settings);
    ASSERT_EQ(Window.Messages.size(), 1u);
    EXPECT_EQ(LastMessage(), ReportTexts().QueryFailed +
                                 "\r\nfrmMain.dstStat.SelectQuery:\r\nStatement has input "
                                 "parameters (minid), which nothing sets; it is not run.");
    EXPECT_FALSE(Form.dstStat().Active());
}

TEST_F(RecordView, EveryRefreshWhileUnreachableTriesAndReportsAgain) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.DBName = (Dir / "missing.fdb").string();
    Start(false, settings);
    Form.actRefreshExecute();
    ASSERT_EQ(Window.Messages.size(), 2u);
    for (const auto& message : Window.Messages) {
        EXPECT_EQ(message.Text.rfind(ReportTexts().ConnectFailed + "\r\nfrmMain.dbsGrav:", 0), 0u)
            << message.Text;
    }
    EXPECT_FALSE(Form.dstStat().Active());
}

TEST_F(RecordView, AMissingStampColumnIsAddedOnConnect) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.ExportFieldName = "ExpNewDT";
    Start(false, settings);
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
    EXPECT_EQ(
        Database.Scalar("select count(*) from RDB$RELATION_FIELDS r join RDB$FIELDS f on "
                        "f.RDB$FIELD_NAME = r.RDB$FIELD_SOURCE where r.RDB$RELATION_NAME = "
                        "'WEIGHTS' and r.RDB$FIELD_NAME = 'EXPNEWDT' and f.RDB$FIELD_TYPE = 35"),
        1);
    EXPECT_EQ(Database.Scalar("select count(*) from WEIGHTS where ExpNewDT is null"), 4);
    EXPECT_FALSE(Form.trnEdit().Active() && !Form.dstStat().Active());
}

struct StampCheckCase {
    const char* Table;
    const char* Column;
};

class StampColumnCheck : public ControllerTest,
                         public ::testing::WithParamInterface<StampCheckCase> {};

// The check never speaks: a name in other letter case, a table named in small
// letters, empty names — connecting succeeds and the view opens.
TEST_P(StampColumnCheck, IsSilent) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.ExportTableName = GetParam().Table;
    settings.ExportFieldName = GetParam().Column;
    Start(false, settings);
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
    EXPECT_TRUE(Form.dbsGrav().Connected());
    EXPECT_TRUE(Form.dstStat().Active());
}

INSTANTIATE_TEST_SUITE_P(Names, StampColumnCheck,
                         ::testing::Values(StampCheckCase{"WEIGHTS", "expwdt"},
                                           StampCheckCase{"weights", "ExpWDT"},
                                           StampCheckCase{"NO_SUCH_TABLE", "ExpWDT"},
                                           StampCheckCase{"", ""}, StampCheckCase{"WEIGHTS", ""}));

// The one failure of the check that speaks: a schema change that fails and cannot be
// rolled back either.
TEST_F(RecordView, ACheckThatCannotRollBackIsReportedAndTheConnectionClosed) {
    Database.CutOffSchemaChanges();
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.ExportFieldName = "ExpNewDT"; // missing: the check alters the table
    Start(false, settings);
    ASSERT_EQ(Window.Messages.size(), 1u);
    // The roll-back's failure, not the schema statement's.
    EXPECT_EQ(LastMessage(), ReportTexts().FormatFailed +
                                 "\r\nfrmMain.trnEdit:\r\nUnsuccessful execution caused by a "
                                 "system error that precludes successful execution of subsequent "
                                 "statements.connection shutdown.\r\n");
    EXPECT_FALSE(Window.Messages[0].ErrorIcon);
    // Closed, so the view was not opened and the grid stays empty.
    EXPECT_FALSE(Form.dbsGrav().Connected());
    EXPECT_FALSE(Form.dstStat().Active());
    EXPECT_FALSE(Form.trnEdit().Active());

    // Every refresh connects afresh and checks again, until the column can be added.
    Form.actRefreshExecute();
    ASSERT_EQ(Window.Messages.size(), 2u);
    EXPECT_EQ(Window.Messages[1].Text.rfind(ReportTexts().FormatFailed + "\r\n", 0), 0u);
    Database.Execute("drop trigger CUT_OFF"); // the schema may change again
    Form.actRefreshExecute();
    EXPECT_EQ(Window.Messages.size(), 2u) << LastMessage();
    EXPECT_TRUE(Form.dbsGrav().Connected());
    EXPECT_TRUE(Form.dstStat().Active());
    EXPECT_EQ(Database.Scalar("select count(*) from WEIGHTS where ExpNewDT is null"), 4);
}

TEST_F(RecordView, ASmallLetterTableGetsItsMissingColumnAddedAnyway) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.ExportTableName = "weights";
    settings.ExportFieldName = "ExpOtherDT";
    Start(false, settings);
    EXPECT_EQ(Database.Scalar("select count(*) from WEIGHTS where ExpOtherDT is null"), 4);
}

TEST_F(RecordView, ShutdownWritesTheSettingsThenCloses) {
    StartInteractive();
    ASSERT_TRUE(Form.dbsGrav().Connected());
    Form.FormDestroy();
    EXPECT_FALSE(Form.dbsGrav().Connected());
    EXPECT_TRUE(std::filesystem::exists(Dir / "gravlink.ini"));
}

TEST_F(RecordView, ShutdownKeepsTheConnectionWhenTheSettingsCannotBeWritten) {
    StartInteractive();
    std::filesystem::create_directory(Dir / "gravlink.ini"); // a folder where the file goes
    EXPECT_THROW(Form.FormDestroy(), Exception);
    EXPECT_TRUE(Form.dbsGrav().Connected());
}

} // namespace
} // namespace gravlink::test
