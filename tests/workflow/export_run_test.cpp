#include "app/report_texts.h"
#include "app/work_texts.h"
#include "support/append_file.h"
#include "support/code_page.h"
#include "support/exception.h"
#include "tests/workflow/controller_fixture.h"

#include <clocale>

namespace gravlink::test {
namespace {

const std::string FirstRun = "1;09.04.2007 08:00:00;wheat;1234.5\r\n"
                             "2;09.04.2007 12:30:00;;-3\r\n"
                             "3;10.04.2007;rye;oats;0\r\n";

using ExportRun = ControllerTest;

TEST_F(ExportRun, WritesEveryRowThenStampsAndAppendsOnTheNextRun) {
    StartInteractive();
    Form.actExportNowExecute();
    EXPECT_EQ(Exported(), FirstRun);
    EXPECT_EQ(Database.Stamped(), 4);
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
    // The view is open again after the commit closed it.
    EXPECT_TRUE(Form.dstStat().Active());

    Database.Execute(
        "insert into WEIGHTS values (5, '2007-04-11 10:00:00', 'oats', 1.25, 'Y', null)");
    Form.actExportNowExecute();
    EXPECT_EQ(Exported(), FirstRun + "5;11.04.2007 10:00:00;oats;1.25\r\n");
    EXPECT_EQ(Database.Stamped(), 5);
}

TEST_F(ExportRun, StampsOnlyEmptyStampsThatSatisfyTheExtraConditions) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.SqlAutoExt = "and confirm = 'Y'";
    Start(false, settings);
    Form.actExportNowExecute();
    EXPECT_EQ(Database.Scalar("select count(*) from WEIGHTS where EXPWDT is null"), 1);
    EXPECT_EQ(Database.Scalar("select IDR from WEIGHTS where EXPWDT is null"), 2);
    // The stamp already there is kept.
    EXPECT_EQ(Database.Scalar("select count(*) from WEIGHTS where EXPWDT = '2007-04-08 20:00:00'"),
              1);
}

TEST_F(ExportRun, AQueryWithoutRowsStillStamps) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.SqlSelect = "select IDR from WEIGHTS where 1=0";
    Start(false, settings);
    Form.actExportNowExecute();
    EXPECT_TRUE(std::filesystem::exists(ExportFile()));
    EXPECT_EQ(Exported(), "");
    EXPECT_EQ(Database.Stamped(), 4);
}

TEST_F(ExportRun, StampsAreTodayWhateverTheLocaleWritesDatesLike) {
    // A French day-first date in SQL would be read month-first by the server.
    TextFormatSettings.ShortDatePattern = "dd/mm/yyyy";
    TextFormatSettings.DateSeparatorChar = '/';
    StartInteractive();
    Form.actExportNowExecute();
    EXPECT_EQ(Database.Scalar("select count(*) from WEIGHTS where cast(EXPWDT as date) = "
                              "current_date"),
              3);
}

TEST_F(ExportRun, DecimalPointIsRestoredAfterSuccessAndFailure) {
    StartInteractive();
    Form.ExportData();
    EXPECT_EQ(TextFormatSettings.DecimalPoint, ',');
    Form.Settings().SqlSelect = "select nonsense from nowhere";
    Form.ExportData();
    EXPECT_EQ(TextFormatSettings.DecimalPoint, ',');
    EXPECT_EQ(Window.Messages.size(), 1u);
}

TEST_F(ExportRun, TheFailureIsReportedWithTheLocalesDecimalPointBack) {
    StartInteractive();
    Form.Settings().SqlSelect = "select nonsense from nowhere";
    Form.actExportNowExecute();
    // The export's failure, then the view's of the same query.
    ASSERT_EQ(Window.Messages.size(), 2u);
    EXPECT_EQ(Window.Messages[0].Text.rfind(ReportTexts().OperationFailed + "\r\n", 0), 0u);
    // The grid behind the box draws its numbers with the locale's point again.
    EXPECT_EQ(Window.Messages[0].DecimalPoint, ',');
    EXPECT_TRUE(Window.Messages[0].DuringWork);
    EXPECT_EQ(Window.WorkDepth, 0);
    EXPECT_EQ(Window.Status, "");
}

TEST_F(ExportRun, BesideTheWindowItShowsProgressAndThenWhatItDid) {
    Window.Progress = true;
    StartInteractive();
    Form.actExportNowExecute();
    EXPECT_EQ(Exported(), FirstRun);
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
    EXPECT_EQ(Window.Status, ExportDoneText(3, 3));
    EXPECT_EQ(Win1251ToUtf8(Window.Status),
              "Экспорт завершён: записано строк 3, помечено записей 3");
    EXPECT_TRUE(Form.dstStat().Active());

    // A run with nothing to do says so too.
    Form.actExportNowExecute();
    EXPECT_EQ(Window.Status, ExportDoneText(0, 0));
    EXPECT_EQ(Window.WorkDepth, 0);
}

TEST_F(ExportRun, ARecordCommittedMeanwhileIsNeitherWrittenNorStamped) {
    // The rows come through a procedure that, while they are being read, commits
    // a new record on a transaction of its own, as another program would. The
    // record view reads the same query first: it is armed only for the export.
    Database.Isql("create sequence ARMED;\n"
                  "set term ^;\n"
                  "create procedure ROWS_WITH_LATECOMER returns (IDR integer) as\n"
                  "begin\n"
                  "  for select IDR from WEIGHTS where EXPWDT is null order by IDR into :IDR do\n"
                  "  begin\n"
                  "    if (IDR = 1 and gen_id(ARMED, 0) = 1) then\n"
                  "      in autonomous transaction do\n"
                  "        insert into WEIGHTS values (9, '2007-04-09 09:00:00', 'late', 1, 'Y', "
                  "null);\n"
                  "    suspend;\n"
                  "  end\n"
                  "end^\n"
                  "set term ;^\n");
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.SqlSelect = "select IDR from ROWS_WITH_LATECOMER";
    Start(false, settings);
    Database.Execute("alter sequence ARMED restart with 1");
    Form.actExportNowExecute();
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
    EXPECT_EQ(Exported(), "1\r\n2\r\n3\r\n");
    EXPECT_EQ(Database.Scalar("select count(*) from WEIGHTS where IDR = 9 and EXPWDT is null"), 1);

    Form.Settings().SqlSelect = "select IDR from WEIGHTS where EXPWDT is null";
    Form.actExportNowExecute();
    EXPECT_EQ(Exported(), "1\r\n2\r\n3\r\n9\r\n");
    EXPECT_EQ(Database.Stamped(), 5);
}

// Each way a run can fail: what is reported, what the file holds, what is stamped.
class ExportFailure : public ControllerTest {
protected:
    void ExpectReported(const std::string& messagePart) {
        ASSERT_EQ(Window.Messages.size(), 1u);
        const std::string& text = Window.Messages[0].Text;
        EXPECT_EQ(text.rfind(ReportTexts().OperationFailed + "\r\n", 0), 0u) << text;
        EXPECT_NE(text.find(messagePart), std::string::npos) << text;
        EXPECT_EQ(Database.Stamped(), 1);
    }
};

TEST_F(ExportFailure, MissingFolderReadsNothing) {
    TExportSettings settings = Database.Settings((Dir / "no" / "such").string());
    Start(false, settings);
    Form.ExportData();
    ExpectReported("Invalid filename");
}

TEST_F(ExportFailure, FileHeldByAnotherExport) {
    StartInteractive();
    TAppendFile held(ExportFile().string(), TAppendFile::TLockWait::Fail);
    Form.ExportData();
    ExpectReported("I/O error 32");
}

TEST_F(ExportFailure, NoConnectionLeavesAnEmptyFile) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.DBName = (Dir / "missing.fdb").string();
    Start(false, settings);
    ASSERT_EQ(Window.Messages.size(), 1u); // the failed connect of the first refresh
    Window.Messages.clear();
    Form.ExportData();
    ExpectReported("frmMain.");
    EXPECT_TRUE(std::filesystem::exists(ExportFile()));
    EXPECT_EQ(Exported(), "");
}

TEST_F(ExportFailure, BadQueryWritesNothing) {
    StartInteractive();
    Form.Settings().SqlSelect = "select IDR from NO_SUCH_TABLE";
    Form.ExportData();
    ExpectReported("NO_SUCH_TABLE");
    EXPECT_EQ(Exported(), "");
}

// Nothing sets a statement's parameters: run, each would be null, the select would
// return nothing and the update stamp everything.
TEST_F(ExportFailure, StatementsWithInputParametersAreRefusedBeforeTheyRun) {
    struct Case {
        const char* SqlSelect;
        const char* SqlAutoExt;
        const char* Statement;
        const char* Parameters;
        std::string Exported;
    };
    const std::string select = Database.Settings("").SqlSelect;
    const Case cases[] = {
        {"select IDR from WEIGHTS where EXPWDT is null and IDR > :minid", "", "qryDBCheck",
         "(minid)", ""},
        {"select IDR from WEIGHTS where IDR > :minid and CARGO <> :cargo", "", "qryDBCheck",
         "(minid, cargo)", ""},
        {select.c_str(), "and IDR > :minid", "qryDBCheck", "(minid)", FirstRun},
    };
    StartInteractive();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.SqlSelect) + " " + c.SqlAutoExt);
        Window.Messages.clear();
        std::filesystem::remove(ExportFile());
        Form.Settings().SqlSelect = c.SqlSelect;
        Form.Settings().SqlAutoExt = c.SqlAutoExt;
        Form.ExportData();
        ExpectReported(std::string("frmMain.") + c.Statement +
                       ":\r\nStatement has input parameters " + c.Parameters +
                       ", which nothing sets; it is not run.");
        EXPECT_EQ(Exported(), c.Exported);
    }
}

TEST_F(ExportFailure, FailingUpdateKeepsTheLinesAndStampsNothing) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.SqlAutoExt = "and no_such_column = 1";
    Start(false, settings);
    Form.ExportData();
    ExpectReported("NO_SUCH_COLUMN");
    EXPECT_EQ(Exported(), FirstRun);
    // The next run, mended, writes the same rows again.
    Form.Settings().SqlAutoExt = "";
    Window.Messages.clear();
    Form.actExportNowExecute();
    EXPECT_EQ(Exported(), FirstRun + FirstRun);
    EXPECT_EQ(Database.Stamped(), 4);
}

TEST_F(ExportFailure, UnattendedFailuresGoToTheLogAndTheRunEnds) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.SqlSelect = "select IDR from NO_SUCH_TABLE";
    Start(true, settings);
    EXPECT_EQ(Window.PostedExports, 1);
    Form.WMAutoExport();
    EXPECT_EQ(Window.Closes, 1);
    EXPECT_TRUE(Window.Messages.empty());
    // The view of the same query failed first, then the export.
    const std::string log = Log();
    EXPECT_NE(log.find(ReportTexts().QueryFailed), std::string::npos);
    EXPECT_NE(log.find(ReportTexts().OperationFailed), std::string::npos);
    EXPECT_LT(log.find(ReportTexts().QueryFailed), log.find(ReportTexts().OperationFailed));
    EXPECT_EQ(Form.ExitStatus(), 1);
}

TEST_F(ExportFailure, AFailureThatCannotBeLoggedStillReleasesTheFileAndTheDecimalPoint) {
    TExportSettings settings = Database.Settings(ExportDir().string());
    settings.SqlAutoExt = "and no_such_column = 1";
    Start(true, settings);
    std::filesystem::create_directory(Dir / "error.log"); // a folder where the log should be
    EXPECT_THROW(Form.ExportData(), EInOutError);
    EXPECT_EQ(TextFormatSettings.DecimalPoint, ',');
    EXPECT_EQ(Exported(), FirstRun);
    // The next run may lock the file again.
    EXPECT_NO_THROW(TAppendFile(ExportFile().string(), TAppendFile::TLockWait::Fail));
    EXPECT_EQ(Database.Stamped(), 1);
}

TEST_F(ExportRun, CyrillicFolderAndDatabasePathsAreTheOnesOnDisk) {
    // The settings hold Windows-1251; the folders on disk have UTF-8 names.
    const std::filesystem::path folder = Dir / "выгрузка";
    const std::filesystem::path databaseFolder = Dir / "база";
    std::filesystem::create_directory(folder);
    std::filesystem::create_directory(databaseFolder);
    std::filesystem::copy_file(Database.File(), databaseFolder / "весы.fdb");
    // The program runs in the user's locale; the client library reads file names by it.
    const std::string previous = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "C.UTF-8");
    TExportSettings settings = Database.Settings(Utf8ToWin1251(folder.string()));
    settings.DBName = Utf8ToWin1251((databaseFolder / "весы.fdb").string());
    Start(false, settings);
    Form.actExportNowExecute();
    EXPECT_TRUE(Window.Messages.empty()) << Win1251ToUtf8(LastMessage());
    EXPECT_EQ(ReadFileBytes(folder / "gravout.cvs"), FirstRun);
    std::setlocale(LC_CTYPE, previous.c_str());
}

class ExportRunThroughServer : public ControllerTest {
protected:
    ExportRunThroughServer() : ControllerTest({.Via = Access::Server}) {}
};

TEST_F(ExportRunThroughServer, WritesAndStampsLikeEmbedded) {
    StartInteractive();
    Form.actExportNowExecute();
    EXPECT_TRUE(Window.Messages.empty()) << LastMessage();
    EXPECT_EQ(Exported(), FirstRun);
    EXPECT_EQ(Database.Stamped(), 4);
}

} // namespace
} // namespace gravlink::test
