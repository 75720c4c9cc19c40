#include "app/report_texts.h"
#include "app/settings_file.h"
#include "support/code_page.h"
#include "tests/fixtures/program_run.h"
#include "tests/fixtures/weighing_database.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace gravlink {
namespace {

using test::ProgramRun;

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

TEST_F(ProgramRun, UnattendedRunWithADamagedSettingsFileEndsByItselfKeepingTheFile) {
    const std::string damaged = "<?xml version=1.0 ?><root/>";
    test::WriteFileBytes(Dir / "gravlink.ini", damaged);
    const test::ProcessResult run = Run("-auto");
    ASSERT_NE(run.Status, 124) << "the unattended run waited for a person";
    EXPECT_EQ(run.Status, 1) << run.Output;
    EXPECT_NE(test::ReadFileBytes(Dir / "error.log").find("missing value delimiter"),
              std::string::npos);
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini.bak"), damaged);
}

// A file cut short loses the keys after the cut: with SqlAutoExt gone the update would
// stamp records the query never wrote.
TEST_F(ProgramRun, UnattendedRunWithASettingsFileCutShortExportsAndStampsNothing) {
    test::WeighingDatabase database;
    std::filesystem::create_directory(Dir / "out");
    TExportSettings settings = database.Settings((Dir / "out").string());
    settings.SqlAutoExt = "and CONFIRM = 'Y'";
    const std::string path = (Dir / "gravlink.ini").string();
    WriteSettingsFile(path, settings);
    std::string damaged = test::ReadFileBytes(path);
    damaged.erase(damaged.find("</SqlSelect>") + 12);
    test::WriteFileBytes(path, damaged);

    const test::ProcessResult run = Run("-auto");
    EXPECT_EQ(run.Status, 1) << run.Output;
    EXPECT_FALSE(std::filesystem::exists(Dir / "out" / "gravout.cvs"));
    EXPECT_EQ(database.Stamped(), 1);
    const std::string log = test::ReadFileBytes(Dir / "error.log");
    EXPECT_NE(log.find(": " + ReportTexts().SettingsDamaged + "\r\n" + path + "\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find(ReportTexts().SettingsStoppedAt + " " + std::to_string(damaged.size() + 1) +
                       ": < not found\r\n" + ReportTexts().ExportNotRun + "\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini"), damaged);
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini.bak"), damaged);
}

TEST_F(ProgramRun, UnattendedRunWhoseLogCannotBeWrittenEndsByItself) {
    std::filesystem::create_directory(Dir / "error.log"); // a folder where the log should be
    const test::ProcessResult run = Run("-auto");
    ASSERT_NE(run.Status, 124) << "the unattended run did not end by itself";
    EXPECT_EQ(run.Status, 1) << run.Output;
    EXPECT_TRUE(std::filesystem::exists(Dir / "gravlink.ini"));
}

TEST_F(ProgramRun, UnattendedExportOfAGoodDatabaseEndsWithStatusZeroAndNoLog) {
    test::WeighingDatabase database;
    std::filesystem::create_directory(Dir / "out");
    WriteSettingsFile((Dir / "gravlink.ini").string(), database.Settings((Dir / "out").string()));
    const test::ProcessResult run = Run("-auto");
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_FALSE(std::filesystem::exists(Dir / "error.log"));
    const std::string exported = test::ReadFileBytes(Dir / "out" / "gravout.cvs");
    EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), 3) << exported;
    EXPECT_EQ(database.Stamped(), 4);
}

// Cron starts a job with no locale at all; the database and the export folder of a
// Russian site still have Cyrillic names, kept in Windows-1251 in the settings.
TEST_F(ProgramRun, WithoutAnyLocaleCyrillicDatabaseAndExportFoldersOpen) {
    test::WeighingDatabase database;
    const std::filesystem::path folder = Dir / "выгрузка";
    const std::filesystem::path databaseFolder = Dir / "база";
    std::filesystem::create_directory(folder);
    std::filesystem::create_directory(databaseFolder);
    std::filesystem::copy_file(database.File(), databaseFolder / "весы.fdb");
    TExportSettings settings = database.Settings(Utf8ToWin1251(folder.string()));
    settings.DBName = Utf8ToWin1251((databaseFolder / "весы.fdb").string());
    WriteSettingsFile((Dir / "gravlink.ini").string(), settings);
    const test::ProcessResult run =
        Run("-auto", "", {{"LANG", ""}, {"LANGUAGE", ""}, {"LC_CTYPE", ""}, {"LC_MESSAGES", ""}});
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_FALSE(std::filesystem::exists(Dir / "error.log"))
        << Win1251ToUtf8(test::ReadFileBytes(Dir / "error.log"));
    const std::string exported = test::ReadFileBytes(folder / "gravout.cvs");
    EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), 3) << exported;
}

TEST_F(ProgramRun, UnderAFrenchLocaleLinesReadFrenchButNumbersAndStampsStayRight) {
    test::WeighingDatabase database;
    std::filesystem::create_directory(Dir / "out");
    WriteSettingsFile((Dir / "gravlink.ini").string(), database.Settings((Dir / "out").string()));
    const test::ProcessResult run = Run("-auto", "fr_FR.UTF-8");
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_EQ(test::ReadFileBytes(Dir / "out" / "gravout.cvs"),
              "1;09/04/2007 08:00:00;wheat;1234.5\r\n"
              "2;09/04/2007 12:30:00;;-3\r\n"
              "3;10/04/2007;rye;oats;0\r\n");
    // Day-first in SQL would have been read month-first by the server.
    EXPECT_EQ(
        database.Scalar("select count(*) from WEIGHTS where cast(EXPWDT as date) = current_date"),
        3);
}

// The check fails after connecting: logged, the connection closed, so the export
// that the run goes on to fails as well; the run still ends by itself.
TEST_F(ProgramRun, UnattendedRunWhoseStampColumnCheckFailsLogsItAndEndsWithStatusOne) {
    test::WeighingDatabase database;
    database.CutOffSchemaChanges();
    std::filesystem::create_directory(Dir / "out");
    TExportSettings settings = database.Settings((Dir / "out").string());
    settings.ExportFieldName = "ExpNewDT";
    WriteSettingsFile((Dir / "gravlink.ini").string(), settings);

    const test::ProcessResult run = Run("-auto");
    ASSERT_NE(run.Status, 124) << "the unattended run did not end by itself";
    EXPECT_EQ(run.Status, 1) << run.Output;
    const std::string log = test::ReadFileBytes(Dir / "error.log");
    const size_t check = log.find(": " + ReportTexts().FormatFailed + "\r\nfrmMain.trnEdit:\r\n");
    const size_t exportRun = log.find(": " + ReportTexts().OperationFailed +
                                      "\r\nfrmMain.dbsGrav: Cannot perform operation -- DB is "
                                      "not open.");
    ASSERT_NE(check, std::string::npos) << log;
    ASSERT_NE(exportRun, std::string::npos) << log;
    EXPECT_LT(check, exportRun);
    EXPECT_EQ(test::ReadFileBytes(Dir / "out" / "gravout.cvs"), "");
    EXPECT_EQ(database.Stamped(), 1);
}

TEST_F(ProgramRun, UnattendedRunAgainstAnUnreachableDatabaseLogsTwiceAndEndsWithStatusOne) {
    TExportSettings settings;
    settings.DBName = "localhost:" + (Dir / "missing.fdb").string();
    settings.ExportDataDir = (Dir / "out").string();
    std::filesystem::create_directory(Dir / "out");
    WriteSettingsFile((Dir / "gravlink.ini").string(), settings);
    const std::string before = test::ReadFileBytes(Dir / "gravlink.ini");

    const test::ProcessResult run = Run("-auto");
    EXPECT_EQ(run.Status, 1) << run.Output;
    const std::string log = test::ReadFileBytes(Dir / "error.log");
    // The connect failed first, then the export; each entry starts ": own text".
    const size_t connect = log.find(": " + ReportTexts().ConnectFailed + "\r\n");
    const size_t exportRun = log.find(": " + ReportTexts().OperationFailed + "\r\n");
    ASSERT_NE(connect, std::string::npos) << log;
    ASSERT_NE(exportRun, std::string::npos) << log;
    EXPECT_LT(connect, exportRun);
    EXPECT_EQ(log.find(": " + ReportTexts().ConnectFailed, connect + 1), std::string::npos);
    EXPECT_EQ(log.find(": " + ReportTexts().OperationFailed, exportRun + 1), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(Dir / "out" / "gravout.cvs"));
    EXPECT_EQ(test::ReadFileBytes(Dir / "out" / "gravout.cvs"), "");
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini"), before);
}

} // namespace
} // namespace gravlink
