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
    void Start(std::vector<std::string> arguments) {
        Form.FormCreate({std::move(arguments), (Dir / "gravlink").string()});
    }
    std::filesystem::path LogPath() const { return Dir / "error.log"; }

    // The log's entries, each checked to begin with the time of the run.
    std::vector<std::string> Entries(TDateTime from) const {
        const std::string log = test::ReadFileBytes(LogPath());
        const TDateTime to = CurrentDateTime();
        std::vector<std::string> entries;
        size_t at = 0;
        while (at < log.size()) {
            const size_t colon = log.find(": ", at);
            EXPECT_NE(colon, std::string::npos);
            const std::string stamp = log.substr(at, colon - at);
            EXPECT_TRUE(stamp == DateTimeText(from) || stamp == DateTimeText(to)) << stamp;
            const size_t next = log.find(stamp + ": ", colon + 2);
            const size_t end = next == std::string::npos ? log.size() : next;
            entries.push_back(log.substr(colon + 2, end - colon - 2));
            at = end;
        }
        return entries;
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
    const std::vector<std::string> entries = Entries(from);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], ConnectText + "\r\nfrmMain.dbsGrav:\r\nI/O error during \"open\"\r\n");
    // An empty message leaves an empty last line.
    EXPECT_EQ(entries[1], OperationText + "\r\n\r\n");
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
    const std::vector<std::string> entries = Entries(from);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], "out of memory.\r\n");
}

TEST_F(ErrorReport, TopLevelHandlerSurvivesALogThatCannotBeWritten) {
    Start({"-auto"});
    std::filesystem::create_directory(LogPath());
    Form.Guarded([&] { Form.ReportError(OperationText, "x"); });
    EXPECT_TRUE(Window.Messages.empty());
    EXPECT_EQ(Form.ExitStatus(), 1);
}

} // namespace
} // namespace gravlink
