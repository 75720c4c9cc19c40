#include "app/frm_main.h"
#include "support/code_page.h"
#include "support/date_time_text.h"
#include "support/date_time_value.h"
#include "support/exception.h"
#include "tests/fixtures/fake_main_window.h"
#include "tests/fixtures/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace gravlink {
namespace {

const std::string ConnectText = Utf8ToWin1251("Ошибка подключения к базе данных.\r\n"
                                              "Проверьте параметры подключения.");
const std::string OperationText = Utf8ToWin1251("Ошибка выполнения операции.");

class ErrorReport : public ::testing::Test {
protected:
    // An unattended start already logs its failed connect (no database is
    // configured): the tests begin with the log gone.
    void Start(std::vector<std::string> arguments) {
        Form.FormCreate({std::move(arguments), (Dir / "gravlink").string()});
        std::filesystem::remove(LogPath());
    }
    std::filesystem::path LogPath() const { return Dir / "error.log"; }

    // Whether the log holds exactly these entries, each stamped with a time of the run.
    ::testing::AssertionResult LogHolds(TDateTime from, const std::vector<std::string>& entries) {
        const std::string log = test::ReadFileBytes(LogPath());
        const std::string stamps[] = {DateTimeText(from), DateTimeText(CurrentDateTime())};
        // Each entry's time is one of the two; try every way of choosing.
        for (unsigned choice = 0; choice < (1u << entries.size()); ++choice) {
            std::string expected;
            for (size_t i = 0; i < entries.size(); ++i)
                expected += stamps[(choice >> i) & 1] + ": " + entries[i];
            if (log == expected)
                return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "the log holds:\n" << log;
    }

    test::TempDir Dir;
    test::FakeMainWindow Window;
    TfrmMain Form{Window};
};

TEST_F(ErrorReport, UnattendedEntriesAreAppendedInOrderWithTheirTime) {
    const TDateTime from = CurrentDateTime();
    Start({"-auto"});
    Form.ReportError(ConnectText, "frmMain.dbsGrav:\r\nI/O error during \"open\"");
    Form.ReportError(OperationText, "");
    // An empty message leaves an empty last line.
    EXPECT_TRUE(
        LogHolds(from, {ConnectText + "\r\nfrmMain.dbsGrav:\r\nI/O error during \"open\"\r\n",
                        OperationText + "\r\n\r\n"}));
    EXPECT_TRUE(Window.Messages.empty());
    EXPECT_EQ(Form.ExitStatus(), 1);
}

TEST_F(ErrorReport, InteractiveReportsAreBoxesAndNeverTouchTheLog) {
    Start({});
    Form.ReportError(OperationText, "Disk full");
    ASSERT_EQ(Window.Messages.size(), 1u);
    EXPECT_EQ(Window.Messages[0].Text, OperationText + "\r\nDisk full");
    EXPECT_FALSE(Window.Messages[0].ErrorIcon);
    EXPECT_FALSE(std::filesystem::exists(LogPath()));
}

TEST_F(ErrorReport, AFailingLogReachesTheCallerOfReportError) {
    Start({"-auto"});
    std::filesystem::create_directory(LogPath()); // a folder where the log should be
    EXPECT_THROW(Form.ReportError(OperationText, "x"), EInOutError);
}

TEST_F(ErrorReport, TopLevelHandlerShowsAnErrorBoxInteractively) {
    Start({});
    Form.Guarded([] { throw Exception("Stream write error"); });
    ASSERT_EQ(Window.Messages.size(), 1u);
    EXPECT_EQ(Window.Messages[0].Text, "Stream write error.");
    EXPECT_TRUE(Window.Messages[0].ErrorIcon);
    EXPECT_EQ(Form.ExitStatus(), 1);
}

TEST_F(ErrorReport, TopLevelHandlerLogsInsteadOfWaitingForAPersonUnattended) {
    const TDateTime from = CurrentDateTime();
    Start({"-auto"});
    Form.Guarded([] { throw std::runtime_error("out of memory"); });
    EXPECT_TRUE(Window.Messages.empty());
    EXPECT_TRUE(LogHolds(from, {"out of memory.\r\n"}));
}

TEST_F(ErrorReport, TopLevelHandlerSurvivesALogThatCannotBeWritten) {
    Start({"-auto"});
    std::filesystem::create_directory(LogPath());
    ::testing::internal::CaptureStderr();
    Form.Guarded([&] { Form.ReportError(OperationText, "Disk full"); });
    const std::string stderrText = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Window.Messages.empty());
    EXPECT_EQ(Form.ExitStatus(), 1);
    // The report the log could not take is not lost: it goes where the log's own
    // failure goes.
    EXPECT_NE(stderrText.find(Win1251ToUtf8(OperationText) + "\nDisk full"), std::string::npos)
        << stderrText;
    // A folder where the log should be: EISDIR on Linux, a denied access on Windows.
#ifdef _WIN32
    EXPECT_NE(stderrText.find("File access denied."), std::string::npos) << stderrText;
#else
    EXPECT_NE(stderrText.find("I/O error 21."), std::string::npos) << stderrText;
#endif
}

TEST_F(ErrorReport, AnUnattendedStartWhoseLogCannotBeWrittenStillPostsItsExport) {
    std::filesystem::create_directory(LogPath());
    // No database is configured: the connect fails, and so does logging it.
    Form.FormCreate({{"-auto"}, (Dir / "gravlink").string()});
    EXPECT_TRUE(Window.Minimised);
    EXPECT_EQ(Window.PostedExports, 1);
    EXPECT_TRUE(Window.Messages.empty());
    EXPECT_EQ(Form.ExitStatus(), 1);
}

TEST_F(ErrorReport, AnUnattendedRunEndsEvenWhenItsLogCannotBeWritten) {
    Start({"-auto"});
    std::filesystem::create_directory(LogPath());
    Form.WMAutoExport(); // fails: no database, and the failure cannot be logged
    EXPECT_EQ(Window.Closes, 1);
    EXPECT_TRUE(Window.Messages.empty());
    EXPECT_EQ(Form.ExitStatus(), 1);
}

} // namespace
} // namespace gravlink
