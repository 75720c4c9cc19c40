// What the program says on the console: its usage and version without a display, and
// start-up failures that name the file and the reason once each.
#include "app/report_texts.h"
#include "app/settings_file.h"
#include "support/code_page.h"
#include "tests/fixtures/program_run.h"
#include "tests/fixtures/weighing_database.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace gravlink {
namespace {

using test::ProgramRun;

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class Usage : public ProgramRun, public ::testing::WithParamInterface<const char*> {};

TEST_P(Usage, IsPrintedWithoutADisplayInBothLanguagesAndEndsWithStatusZero) {
    const test::ProcessResult run = Run(GetParam());
    EXPECT_EQ(run.Status, 0) << run.Output;
    for (const char* part :
         {"Использование: gravlink [-auto] [файл-настроек]\n",
          "Usage:         gravlink [-auto] [settings-file]\n", "  -auto ", "gravlink.ini",
          "error.log", "Коды завершения / exit statuses:\n", "\n  0  ", "\n  1  ", "\n  2  "})
        EXPECT_NE(run.Output.find(part), std::string::npos) << part << "\n" << run.Output;
    // The folder where this copy keeps its settings.
    EXPECT_NE(run.Output.find(std::filesystem::canonical(Dir.Path()).string() + "/\n"),
              std::string::npos)
        << run.Output;
    EXPECT_FALSE(std::filesystem::exists(Dir / "gravlink.ini"));
}

INSTANTIATE_TEST_SUITE_P(Options, Usage, ::testing::Values("--help", "-h", "' --help '"));

TEST_F(ProgramRun, VersionIsOneLineWithoutADisplayAndEndsWithStatusZero) {
    const test::ProcessResult run = Run("--version");
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_TRUE(std::regex_match(run.Output, std::regex("gravlink [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << run.Output;
    EXPECT_FALSE(std::filesystem::exists(Dir / "gravlink.ini"));
}

// The log cannot take the two reports of a run without a database: each is on the
// console once, after one line that names the log, the reason and the failure's text.
TEST_F(ProgramRun, AnErrorLogThatCannotBeWrittenIsNamedOnceForEachReportItLost) {
    TExportSettings settings;
    settings.ExportDataDir = (Dir / "out").string();
    std::filesystem::create_directory(Dir / "out");
    WriteSettingsFile((Dir / "gravlink.ini").string(), settings);
    std::filesystem::create_directory(Dir / "error.log");
    const test::ProcessResult run = Run("-auto");
    EXPECT_EQ(run.Status, 1);
    const std::string named = "gravlink: cannot write the error log " +
                              std::filesystem::canonical(Dir.Path()).string() +
                              "/error.log: Is a directory (I/O error 21.)\n";
    const auto console = [](const std::string& text) {
        std::string lines = Win1251ToUtf8(text);
        return std::regex_replace(lines, std::regex("\r\n"), "\n");
    };
    EXPECT_EQ(run.Output, named + console(ReportTexts().ConnectFailed) +
                              "\nDatabase name is missing.\n" + named +
                              console(ReportTexts().OperationFailed) +
                              "\nfrmMain.dbsGrav: Cannot perform operation -- DB is not open.\n");
}

// A settings file that cannot be written back: the console names it and says why, once;
// the log holds the system's own text unchanged.
TEST_F(ProgramRun, ASettingsFileThatCannotBeWrittenIsNamedOnceWithTheReason) {
    const test::ProcessResult run = Run("-auto missing/site.ini");
    EXPECT_EQ(run.Status, 1);
    const std::string path = std::filesystem::canonical(Dir.Path()).string() + "/missing/site.ini";
    EXPECT_EQ(Count(run.Output, path), 1u) << run.Output;
    EXPECT_EQ(Count(run.Output, "No such file or directory"), 1u) << run.Output;
    const std::string line = run.Output.substr(0, run.Output.find('\n'));
    EXPECT_NE(test::ReadFileBytes(Dir / "error.log").find(line + "\r\n"), std::string::npos)
        << run.Output;
}

} // namespace
} // namespace gravlink
