#include "app/frm_main.h"
#include "app/report_texts.h"
#include "app/settings_file.h"
#include "support/exception.h"
#include "tests/fixtures/fake_main_window.h"
#include "tests/fixtures/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace gravlink {
namespace {

const std::string EmptySettingsFile = "<?xml version='1.0' encoding='ISO-8859-1' ?>\r\n"
                                      "<root>\r\n"
                                      "  <Config>\r\n"
                                      "    <DBName/>\r\n"
                                      "    <ExportDataDir/>\r\n"
                                      "    <ExportFieldName/>\r\n"
                                      "    <ExportTableName/>\r\n"
                                      "    <ExportDateFN/>\r\n"
                                      "    <SqlSelect/>\r\n"
                                      "    <SqlSelectWP/>\r\n"
                                      "    <SqlUpdate/>\r\n"
                                      "    <SqlAutoExt/>\r\n"
                                      "  </Config>\r\n"
                                      "</root>";

// A controller started interactively beside a settings file of the test's making.
class SettingsFileTest : public ::testing::Test {
protected:
    void WriteSettings(const std::string& bytes) { test::WriteFileBytes(Path(), bytes); }
    std::filesystem::path Path() const { return Dir / "gravlink.ini"; }
    void Start() { Form.FormCreate({{}, (Dir / "gravlink").string()}); }

    test::TempDir Dir;
    test::FakeMainWindow Window;
    TfrmMain Form{Window};
};

TEST_F(SettingsFileTest, NoFileGivesEmptySettingsAndNineEmptyElementsAtShutdown) {
    Start();
    EXPECT_EQ(Form.Settings(), TExportSettings{});
    Form.FormDestroy();
    EXPECT_EQ(test::ReadFileBytes(Path()), EmptySettingsFile);
    EXPECT_FALSE(std::filesystem::exists(Dir / "gravlink.ini.bak"));
}

TEST_F(SettingsFileTest, ReadsKeysInAnyOrderTheLastOfRepeatedOnesWinning) {
    WriteSettings("<?xml version='1.0'?><root><Config>"
                  "<SqlAutoExt>and confirm is null</SqlAutoExt>"
                  "<DBName>a</DBName><DBName>b</DBName>"
                  "<dbname>lower</dbname><Other>x</Other>"
                  "<ExportDataDir>  /srv/out \r\n</ExportDataDir>"
                  "</Config></root>");
    Start();
    EXPECT_EQ(Form.Settings().DBName, "b");
    EXPECT_EQ(Form.Settings().SqlAutoExt, "and confirm is null");
    EXPECT_EQ(Form.Settings().ExportDataDir, "/srv/out");
}

TEST_F(SettingsFileTest, OnlyAConfigDirectlyUnderTheRootCounts) {
    WriteSettings("<root><Outer><Config><DBName>deep</DBName></Config></Outer></root>");
    Start();
    EXPECT_EQ(Form.Settings().DBName, "");
}

TEST_F(SettingsFileTest, MultiLineSqlSurvivesARoundTripWithItsInnerLineBreaks) {
    Start();
    Form.Settings().SqlSelect =
        "\r\nselect *\r\n  from WEIGHTS\r\n where ExpWDT is null and a < 5\r\n";
    Form.Settings().DBName = "localhost:/data/w.fdb";
    Form.FormDestroy();

    test::FakeMainWindow again;
    TfrmMain reread(again);
    reread.FormCreate({{}, (Dir / "gravlink").string()});
    // Leading and trailing line breaks go at the next start; inner ones stay.
    EXPECT_EQ(reread.Settings().SqlSelect,
              "select *\r\n  from WEIGHTS\r\n where ExpWDT is null and a < 5");
    EXPECT_EQ(reread.Settings().DBName, "localhost:/data/w.fdb");
}

TEST_F(SettingsFileTest, ADamagedFileIsKeptAsBakBeforeItIsRewritten) {
    const std::string damaged = "<root><Config><DBName>kept</DBName><SqlSelect>select";
    WriteSettings(damaged);
    Start();
    EXPECT_EQ(Form.Settings().DBName, "kept");
    // The operator learns of it before the window shows anything.
    ASSERT_EQ(Window.Messages.size(), 1u);
    EXPECT_EQ(Window.Messages[0].Text, ReportTexts().SettingsDamaged + "\r\n" + Path().string() +
                                           "\r\n" + ReportTexts().SettingsStoppedAt + " " +
                                           std::to_string(damaged.size() - 5) +
                                           ": Expected < when parsing text");
    Form.FormDestroy();
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini.bak"), damaged);
    EXPECT_NE(test::ReadFileBytes(Path()).find("<DBName>kept</DBName>"), std::string::npos);
}

// Text after the document element was never read: the file is not the program's, or
// is broken after a stray "</...>", and its bytes must survive the write-back.
TEST_F(SettingsFileTest, TextAfterTheDocumentElementCountsAsDamaged) {
    const std::string damaged =
        "<root><Config><DBName>kept</DBName></Config></root>\r\n<Config>lost?";
    WriteSettings(damaged);
    Start();
    EXPECT_EQ(Form.Settings().DBName, "kept");
    ASSERT_EQ(Window.Messages.size(), 1u);
    EXPECT_NE(Window.Messages[0].Text.find(ReportTexts().SettingsStoppedAt + " " +
                                           std::to_string(damaged.find("<Config>lost") + 1) +
                                           ": Text after the document element"),
              std::string::npos)
        << Window.Messages[0].Text;
    Form.FormDestroy();
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini.bak"), damaged);

    // Blanks, comments and processing instructions after it are no damage.
    for (const char* tail : {"\r\n \t", "\r\n<!-- edited by hand -->\r\n", "<?note a?>\n"}) {
        WriteSettings(std::string("<root><Config><DBName>whole</DBName></Config></root>") + tail);
        TExportSettings settings;
        EXPECT_EQ(ReadSettingsFile(Path().string(), settings).State, TSettingsFileState::Complete)
            << tail;
    }
    for (const char* tail : {"<!-- never closed", "<?never closed", "</root>"}) {
        WriteSettings(std::string("<root><Config><DBName>cut</DBName></Config></root>") + tail);
        TExportSettings settings;
        EXPECT_EQ(ReadSettingsFile(Path().string(), settings).State, TSettingsFileState::Damaged)
            << tail;
    }
}

TEST_F(SettingsFileTest, AMalformedDeclarationReachesTheCallerAndTheFileIsKept) {
    const std::string damaged = "<?xml version=1.0 ?><root/>";
    WriteSettings(damaged);
    EXPECT_THROW(Start(), Exception);
    Form.FormDestroy();
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini.bak"), damaged);
}

TEST_F(SettingsFileTest, AFailureInFormCreateSkipsTheUnattendedStart) {
    WriteSettings("<?xml version=1.0 ?><root/>");
    Form.Guarded([&] { Form.FormCreate({{"-auto"}, (Dir / "gravlink").string()}); });
    EXPECT_TRUE(Form.AutoMode());
    EXPECT_FALSE(Window.Minimised);
    EXPECT_EQ(Window.PostedExports, 0);
    EXPECT_EQ(Form.ExitStatus(), 1);
}

TEST(StampField, WrapsAndUnwraps) {
    struct Case {
        std::string Stored;
        std::string Shown;
        std::string StoredAfterOk;
    };
    const Case cases[] = {
        {"EXPWDT", "W", "ExpWDT"},
        {"STAMP_DT", "MP_", "ExpMP_DT"},
        {"ExpSTAMPDT", "STAMP", "ExpSTAMPDT"},
        {"ExpDT", "", "ExpDT"},
        {"Exp", "", "ExpDT"},
        {"", "", "ExpDT"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnwrapStampField(c.Stored), c.Shown) << c.Stored;
        EXPECT_EQ(WrapStampField(UnwrapStampField(c.Stored)), c.StoredAfterOk) << c.Stored;
    }
}

} // namespace
} // namespace gravlink
