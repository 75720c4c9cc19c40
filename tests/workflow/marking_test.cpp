#include "app/report_texts.h"
#include "app/work_texts.h"
#include "support/code_page.h"
#include "support/date_time_value.h"
#include "tests/workflow/controller_fixture.h"

namespace gravlink::test {
namespace {

class Marking : public ControllerTest {
protected:
    long long StampedAt(int idr) const {
        return Database.Scalar("select count(*) from WEIGHTS where IDR = " + std::to_string(idr) +
                               " and EXPWDT is not null");
    }
    void ExpectOneFailure(const std::string& messagePart) {
        ASSERT_EQ(Window.Messages.size(), 1u);
        EXPECT_EQ(LastMessage(), ReportTexts().OperationFailed + "\r\n" + messagePart);
        // The view is open again, at its first record.
        EXPECT_TRUE(Form.dstStat().Active());
    }
};

TEST_F(Marking, OneRecordIsStampedAndClearedByItsKey) {
    StartInteractive(); // the view's first record is IDR 1
    Form.actCheckExecute();
    EXPECT_EQ(StampedAt(1), 1);
    EXPECT_EQ(Database.Stamped(), 2);
    EXPECT_TRUE(Form.dstStat().Active());

    // Stamped records leave this view: its first record is now IDR 2.
    Form.Settings().SqlSelect = "select IDR from WEIGHTS order by IDR";
    Form.actRefreshExecute();
    Form.actClearOneExecute();
    EXPECT_EQ(StampedAt(1), 0);
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
}

TEST_F(Marking, AllRecordsAreStampedOrClearedKeepingExistingStamps) {
    StartInteractive();
    Form.actCheckAllExecute();
    EXPECT_EQ(Database.Stamped(), 4);
    EXPECT_EQ(Database.Scalar("select count(*) from WEIGHTS where EXPWDT = '2007-04-08 20:00:00'"),
              1);
    Window.Answer = true;
    Form.actClearAllExecute();
    EXPECT_EQ(Database.Stamped(), 0);
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
}

TEST_F(Marking, ClearingEveryStampAsksFirstAndNoChangesNothing) {
    StartInteractive();
    Form.actCheckAllExecute();
    const int refreshes = Window.Works;
    Form.actClearAllExecute();
    ASSERT_EQ(Window.Questions.size(), 1u);
    EXPECT_EQ(Win1251ToUtf8(Window.Questions[0]),
              "Снять метку экспорта у всех записей?\r\n"
              "При следующем экспорте они будут выгружены снова.");
    EXPECT_EQ(Database.Stamped(), 4);
    // Nothing ran, not even a refresh.
    EXPECT_EQ(Window.Works, refreshes);

    Window.Answer = true;
    Form.actClearAllExecute();
    EXPECT_EQ(Window.Questions.size(), 2u);
    EXPECT_EQ(Database.Stamped(), 0);
}

TEST_F(Marking, TheLongStatementRunsBesideAWindowThatShowsProgress) {
    Window.Progress = true;
    StartInteractive();
    Form.actCheckAllExecute();
    EXPECT_EQ(Database.Stamped(), 4);
    Window.Answer = true;
    Form.actClearAllExecute();
    EXPECT_EQ(Database.Stamped(), 0);
    // A failure of the statement on the helper thread is reported on the window's.
    Form.Settings().ExportFieldName = "NO_SUCH_COLUMN";
    Form.actCheckAllExecute();
    ASSERT_EQ(Window.Messages.size(), 1u);
    EXPECT_EQ(LastMessage().rfind(ReportTexts().OperationFailed + "\r\n", 0), 0u);
    EXPECT_NE(LastMessage().find("NO_SUCH_COLUMN"), std::string::npos);
    EXPECT_EQ(Window.WorkDepth, 0);
}

TEST_F(Marking, TheWaitCursorIsOnDuringACommandAndOffAfterSuccessAndFailure) {
    StartInteractive();
    Window.Works = 0;
    Form.actCheckExecute();
    EXPECT_GT(Window.Works, 0);
    EXPECT_EQ(Window.WorkDepth, 0);
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();

    Form.Settings().ExportTableName = "NO_SUCH_TABLE";
    Form.actCheckExecute();
    ASSERT_EQ(Window.Messages.size(), 1u);
    // The failure was reported while the work was still on, and the cursor came back.
    EXPECT_TRUE(Window.Messages[0].DuringWork);
    EXPECT_EQ(Window.WorkDepth, 0);
}

TEST_F(Marking, WithTheFilterOnOnlyRecordsStrictlyInsideThePeriodChange) {
    StartInteractive();
    // 9 April 08:00:00 to 12:30:00: IDR 1 lies on the first bound, IDR 2 on the last.
    Window.DateBeginValue = EncodeDate(2007, 4, 9);
    Window.TimeBeginValue = EncodeTime(8, 0, 0, 0);
    Window.DateEndValue = EncodeDate(2007, 4, 10);
    Window.TimeEndValue = EncodeTime(0, 0, 0, 0);
    Form.actExpandExecute();
    Form.actCheckAllExecute();
    EXPECT_EQ(StampedAt(1), 0);
    EXPECT_EQ(StampedAt(2), 1);
    EXPECT_EQ(StampedAt(3), 0); // midnight of the 10th is the last bound
    Window.Answer = true;
    Form.actClearAllExecute();
    EXPECT_EQ(Database.Stamped(), 1);
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
}

TEST_F(Marking, AnEmptyViewHasNoKeyToMark) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.SqlSelect = "select IDR from WEIGHTS where 1=0";
    Start(false, settings);
    Form.actCheckExecute();
    ExpectOneFailure("Could not convert variant of type (Null) into type (String)");
    EXPECT_EQ(Database.Stamped(), 1);
}

TEST_F(Marking, ANullKeyHasNoKeyToMark) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.SqlSelect = "select cast(null as integer) as IDR from WEIGHTS";
    Start(false, settings);
    Form.actClearOneExecute();
    ExpectOneFailure("Could not convert variant of type (Null) into type (String)");
}

TEST_F(Marking, AViewWithoutIdrCannotMarkOneRecord) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.SqlSelect = "select CARGO from WEIGHTS";
    Start(false, settings);
    Form.actCheckExecute();
    ExpectOneFailure("dstStat: Field 'IDR' not found");
}

// A source table that the marking commands cannot address: the failure is the
// database's own, reported after the common text, and the view is open again. The
// commands for all records need no key.
TEST_F(Marking, ATableWithoutIdrOrWithoutTheStampColumnIsReported) {
    struct Case {
        void (TfrmMain::*Command)();
        const char* Table;
        const char* Column;
        const char* Missing;    // named in the report; nullptr: the command succeeds
        long long StampedAfter; // in NOKEY
    };
    const Case cases[] = {
        {&TfrmMain::actCheckExecute, "NOKEY", "EXPWDT", "IDR", 0},
        {&TfrmMain::actClearOneExecute, "NOKEY", "EXPWDT", "IDR", 0},
        {&TfrmMain::actCheckAllExecute, "NOKEY", "EXPWDT", nullptr, 1},
        {&TfrmMain::actClearAllExecute, "NOKEY", "EXPWDT", nullptr, 0},
        // The column named in the settings is missing from the table the commands write
        // to, while the view's table, checked at connect, has it.
        {&TfrmMain::actCheckExecute, "WEIGHTS", "NO_STAMP", "NO_STAMP", 0},
        {&TfrmMain::actClearOneExecute, "WEIGHTS", "NO_STAMP", "NO_STAMP", 0},
        {&TfrmMain::actCheckAllExecute, "WEIGHTS", "NO_STAMP", "NO_STAMP", 0},
        {&TfrmMain::actClearAllExecute, "WEIGHTS", "NO_STAMP", "NO_STAMP", 0},
    };
    Database.Isql("create table NOKEY (NR integer, EXPWDT timestamp);\ncommit;\n"
                  "insert into NOKEY values (1, null);\n");
    StartInteractive(); // the view reads WEIGHTS, whose IDR is the key
    Window.Answer = true;
    for (const Case& c : cases) {
        const std::string what = "case " + std::to_string(&c - cases);
        Window.Messages.clear();
        Form.Settings().ExportTableName = c.Table;
        Form.Settings().ExportFieldName = c.Column;
        (Form.*c.Command)();
        if (c.Missing) {
            ASSERT_EQ(Window.Messages.size(), 1u) << what;
            EXPECT_EQ(LastMessage().rfind(ReportTexts().OperationFailed + "\r\n", 0), 0u);
            EXPECT_NE(LastMessage().find(c.Missing), std::string::npos) << LastMessage();
        } else {
            EXPECT_TRUE(Window.Messages.empty()) << what << ": " << LastMessage();
        }
        EXPECT_TRUE(Form.dstStat().Active()) << what;
        EXPECT_EQ(Database.Stamped(), 1) << what;
        EXPECT_EQ(Database.Scalar("select count(*) from NOKEY where EXPWDT is not null"),
                  c.StampedAfter)
            << what;
    }
}

TEST_F(Marking, ATextKeyIsQuotedNotExecuted) {
    Database.Isql("create table TAGGED (IDR varchar(20), EXPWDT timestamp);\ncommit;\n"
                  "insert into TAGGED values ('A''1 or 1=1', null);\n"
                  "insert into TAGGED values ('B', null);\n");
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.ExportTableName = "TAGGED";
    settings.SqlSelect = "select IDR from TAGGED order by IDR";
    Start(false, settings);
    Form.actCheckExecute();
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
    EXPECT_EQ(Database.Scalar("select count(*) from TAGGED where EXPWDT is not null"), 1);
    EXPECT_EQ(Database.Scalar("select count(*) from TAGGED where IDR = 'B' and EXPWDT is null"), 1);
}

TEST_F(Marking, WithoutAConnectionTheFailureIsReportedAndTheRefreshTriesAgain) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.DBName = (Dir / "missing.fdb").string();
    Start(false, settings);
    Window.Messages.clear();
    Form.actCheckAllExecute();
    ASSERT_EQ(Window.Messages.size(), 2u);
    EXPECT_EQ(Window.Messages[0].Text.rfind(ReportTexts().OperationFailed + "\r\n", 0), 0u);
    EXPECT_EQ(Window.Messages[1].Text.rfind(ReportTexts().ConnectFailed + "\r\n", 0), 0u);
}

} // namespace
} // namespace gravlink::test
