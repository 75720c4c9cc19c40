#include "tests/fixtures/process.h"
#include "tests/fixtures/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace gravlink {
namespace {

// The program keeps its settings beside itself: each run gets its own copy.
class ProgramRun : public ::testing::Test {
protected:
    ProgramRun() { std::filesystem::copy_file(GRAVLINK_BINARY, Dir / "gravlink"); }

    test::ProcessResult Run(const std::string& arguments) {
        // No display at all, the way cron starts it; a hang fails instead of blocking.
        return test::RunProcess(
            "cd '" + Dir.Path().string() + "' && timeout 60 ./gravlink " + arguments,
            {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}});
    }

    test::TempDir Dir;
};

TEST_F(ProgramRun, UnattendedRunWithoutDisplayEndsByItselfAndWritesTheSettingsBack) {
    const test::ProcessResult run = Run("-auto");
    ASSERT_NE(run.Status, 124) << "the unattended run did not end by itself";
    ASSERT_LT(run.Status, 128) << run.Output;
    const std::string settings = test::ReadFileBytes(Dir / "gravlink.ini");
    EXPECT_EQ(settings.rfind(
                  "<?xml version='1.0' encoding='ISO-8859-1' ?>\r\n<root>\r\n  <Config>\r\n", 0),
              0u);
    for (const char* key : {"DBName", "ExportDataDir", "ExportFieldName", "ExportTableName",
                            "ExportDateFN", "SqlSelect", "SqlSelectWP", "SqlUpdate", "SqlAutoExt"})
        EXPECT_NE(settings.find(std::string("    <") + key + "/>\r\n"), std::string::npos) << key;
}

TEST_F(ProgramRun, NamedSettingsFileIsTakenFromTheProgramsFolder) {
    const test::ProcessResult run = Run("' -auto ' site2.ini");
    ASSERT_LT(run.Status, 124) << run.Output;
    EXPECT_TRUE(std::filesystem::exists(Dir / "site2.ini"));
    EXPECT_FALSE(std::filesystem::exists(Dir / "gravlink.ini"));
}

} // namespace
} // namespace gravlink
