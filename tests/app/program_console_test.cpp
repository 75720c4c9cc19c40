// What the program says on the console: its usage and version, without a display.
#include "tests/fixtures/program_run.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace gravlink {
namespace {

using test::ProgramRun;

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

} // namespace
} // namespace gravlink
