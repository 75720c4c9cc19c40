// How the program starts: the unattended run without any window toolkit, and an
// interactive start that cannot show its window.
#include "app/report_texts.h"
#include "app/settings_file.h"
#include "app/window_start.h"
#include "support/shared_library.h"
#include "tests/fixtures/program_run.h"
#include "tests/fixtures/weighing_database.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace gravlink {
namespace {

using test::ProgramRun;

// The log with the time that leads each entry replaced by "T".
std::string LogWithoutTimes(const std::string& log) {
    static const std::regex time("(^|\r\n)[0-9/]+( [0-9:]+)?: ");
    return std::regex_replace(log, time, "$1T: ");
}

TEST_F(ProgramRun, UnattendedRunMapsNoWindowToolkit) {
    test::WeighingDatabase database;
    std::filesystem::create_directory(Dir / "out");
    WriteSettingsFile((Dir / "gravlink.ini").string(), database.Settings((Dir / "out").string()));
    // The loader names every library it maps, the client library's included.
    const test::ProcessResult run = Run("-auto", "C.UTF-8", {{"LD_DEBUG", "files"}});
    EXPECT_EQ(run.Status, 0) << run.Output;
    ASSERT_NE(run.Output.find("libfbclient.so.2"), std::string::npos) << run.Output;
    EXPECT_EQ(run.Output.find("libQt"), std::string::npos) << run.Output;
}

// What an unattended run leaves behind, byte for byte: the lines, the settings file as
// it was read, and nothing on the console or in the log.
TEST_F(ProgramRun, UnattendedExportLeavesItsLinesAndTheSettingsFileAsItWas) {
    test::WeighingDatabase database;
    std::filesystem::create_directory(Dir / "out");
    WriteSettingsFile((Dir / "gravlink.ini").string(), database.Settings((Dir / "out").string()));
    const std::string settings = test::ReadFileBytes(Dir / "gravlink.ini");
    const test::ProcessResult run = Run("-auto");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Output, "");
    EXPECT_EQ(test::ReadFileBytes(Dir / "out" / "gravout.cvs"),
              "1;04/09/07 08:00:00;wheat;1234.5\r\n"
              "2;04/09/07 12:30:00;;-3\r\n"
              "3;04/10/07;rye;oats;0\r\n");
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini"), settings);
    EXPECT_FALSE(std::filesystem::exists(Dir / "error.log"));
    EXPECT_EQ(database.Stamped(), 4);
}

TEST_F(ProgramRun, UnattendedRunWithoutADatabaseLogsBothFailuresExactly) {
    TExportSettings settings;
    settings.ExportDataDir = (Dir / "out").string();
    std::filesystem::create_directory(Dir / "out");
    WriteSettingsFile((Dir / "gravlink.ini").string(), settings);
    const std::string before = test::ReadFileBytes(Dir / "gravlink.ini");
    const test::ProcessResult run = Run("-auto");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Output, "");
    EXPECT_EQ(LogWithoutTimes(test::ReadFileBytes(Dir / "error.log")),
              "T: " + ReportTexts().ConnectFailed + "\r\nDatabase name is missing.\r\n" +
                  "T: " + ReportTexts().OperationFailed +
                  "\r\nfrmMain.dbsGrav: Cannot perform operation -- DB is not open.\r\n");
    EXPECT_EQ(test::ReadFileBytes(Dir / "out" / "gravout.cvs"), "");
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini"), before);
}

// An interactive start that cannot show the window says so in one line and how to run
// the export instead, and touches nothing: not even the settings file is written.
struct WindowlessStart {
    const char* Name;
    std::map<std::string, std::string> Environment;
    const char* Line; // the start of the line on standard error
    bool WithWindowModule = false;
    const char* Arguments = "";
    friend void PrintTo(const WindowlessStart& start, std::ostream* out) { *out << start.Name; }
};

class InteractiveStart : public ProgramRun,
                         public ::testing::WithParamInterface<WindowlessStart> {};

TEST_P(InteractiveStart, SaysWhyInOneLineAndEndsWithStatusTwo) {
#ifdef GRAVLINK_WINDOW_MODULE_FILE
    if (GetParam().WithWindowModule)
        std::filesystem::copy_file(
            GRAVLINK_WINDOW_MODULE_FILE,
            Dir / std::filesystem::path(GRAVLINK_WINDOW_MODULE_FILE).filename());
#endif
    const test::ProcessResult run = Run(GetParam().Arguments, "C.UTF-8", GetParam().Environment);
    EXPECT_EQ(run.Status, 2) << run.Output;
    EXPECT_EQ(run.Output.rfind(GetParam().Line, 0), 0u) << run.Output;
    EXPECT_NE(run.Output.find("; the unattended export needs none: gravlink -auto"),
              std::string::npos)
        << run.Output;
    EXPECT_EQ(run.Output.find('\n'), run.Output.size() - 1) << run.Output;
    EXPECT_FALSE(std::filesystem::exists(Dir / "gravlink.ini"));
    EXPECT_FALSE(std::filesystem::exists(Dir / "error.log"));
}

#ifdef GRAVLINK_WINDOW_MODULE_FILE
INSTANTIATE_TEST_SUITE_P(
    Starts, InteractiveStart,
    ::testing::Values(
        WindowlessStart{"NoDisplay", {}, "gravlink: no display found to show the window on;"},
        // Set, but to nothing (the quotes reach the shell as an empty text).
        WindowlessStart{"EmptyDisplayNames",
                        {{"DISPLAY", "''"}, {"WAYLAND_DISPLAY", "''"}},
                        "gravlink: no display found to show the window on;"},
        // The program was copied without the window module beside it.
        WindowlessStart{"NoWindowModule",
                        {{"QT_QPA_PLATFORM", "offscreen"}},
                        "gravlink: the window cannot be started ("},
        // A display that nobody serves, as an ssh session may leave behind.
        WindowlessStart{"UnreachableDisplay",
                        {{"DISPLAY", ":9137"}},
                        "gravlink: the window cannot be started (could not connect to display "
                        ":9137);",
                        true},
        // A command line the window toolkit cannot use.
        WindowlessStart{"UnusableCommandLine",
                        {{"QT_QPA_PLATFORM", "offscreen"}},
                        "gravlink: the window cannot be started (",
                        true,
                        "-platform nonesuch"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(WindowModule, LoadsWithEverythingItNeedsAndExportsTheWindowsEntryPoint) {
    TSharedLibrary module;
    ASSERT_TRUE(module.Load(GRAVLINK_WINDOW_MODULE_FILE)) << module.Error();
    EXPECT_NE(module.EntryPoint(WindowEntryPointName), nullptr) << module.Error();
    // Its copy of the core stays its own.
    EXPECT_EQ(module.EntryPoint("_ZN8gravlink8TfrmMain10FormCreateERKNS_12TCommandLineE"), nullptr);
    module.KeepLoaded();
}
#else
INSTANTIATE_TEST_SUITE_P(
    Starts, InteractiveStart,
    ::testing::Values(WindowlessStart{"NoDisplay", {}, "gravlink: this build has no window;"},
                      WindowlessStart{"Display",
                                      {{"QT_QPA_PLATFORM", "offscreen"}, {"DISPLAY", ":0"}},
                                      "gravlink: this build has no window;"}),
    [](const auto& info) { return std::string(info.param.Name); });
#endif

} // namespace
} // namespace gravlink
