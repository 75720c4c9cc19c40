#include "app/command_line.h"
#include "app/frm_main.h"
#include "tests/fixtures/fake_main_window.h"
#include "tests/fixtures/temp_dir.h"

#include <gtest/gtest.h>

namespace gravlink {
namespace {

struct CommandLineCase {
    std::vector<std::string> Arguments;
    bool AutoMode;
    std::string SettingsFile;
};

void PrintTo(const CommandLineCase& c, std::ostream* out) {
    for (const std::string& argument : c.Arguments)
        *out << '[' << argument << ']';
}

class CommandLineTable : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTable, SelectsModeAndSettingsFile) {
    const CommandLineCase& c = GetParam();
    test::TempDir dir;
    test::FakeMainWindow window;
    TfrmMain form(window);
    form.FormCreate({c.Arguments, (dir / "gravlink").string()});

    EXPECT_EQ(form.AutoMode(), c.AutoMode);
    EXPECT_EQ(form.SettingsFile(), c.SettingsFile);
    EXPECT_EQ(form.ExeDir(), dir.Slashed());
    EXPECT_EQ(window.Minimised, c.AutoMode);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTable,
    ::testing::Values(CommandLineCase{{}, false, "gravlink.ini"},
                      CommandLineCase{{"-auto"}, true, "gravlink.ini"},
                      CommandLineCase{{"  -auto \t"}, true, "gravlink.ini"},
                      CommandLineCase{{"-AUTO"}, false, "gravlink.ini"},
                      CommandLineCase{{"/auto"}, false, "gravlink.ini"},
                      CommandLineCase{{"auto"}, false, "gravlink.ini"},
                      CommandLineCase{{"-autox"}, false, "gravlink.ini"},
                      // A lone file name is argument 1, never the settings file.
                      CommandLineCase{{"other.ini"}, false, "gravlink.ini"},
                      CommandLineCase{{"-x", "other.ini"}, false, "other.ini"},
                      CommandLineCase{{"-auto", " site2.ini\n"}, true, "site2.ini"},
                      CommandLineCase{{"-auto", "   "}, true, "gravlink.ini"},
                      CommandLineCase{{"", "conf/a.ini"}, false, "conf/a.ini"},
                      // Appended to the executable's folder even when absolute.
                      CommandLineCase{{"-auto", "/etc/a.ini"}, true, "/etc/a.ini"}));

TEST(FolderOf, KeepsTheTrailingSeparator) {
    EXPECT_EQ(FolderOf("/opt/gravlink/gravlink"), "/opt/gravlink/");
    EXPECT_EQ(FolderOf("/gravlink"), "/");
    EXPECT_EQ(FolderOf("gravlink"), "");
}

TEST(TopLevelText, AppendsAFullStopAfterLettersDigitsAndColons) {
    struct Case {
        std::string Message;
        std::string Shown;
    };
    const Case cases[] = {
        {"Disk full", "Disk full."},
        {"I/O error 32", "I/O error 32."},
        {"ends with:", "ends with:."},
        {"already.", "already."},
        {"loud!", "loud!"},
        {"(paren)", "(paren)"},
        {"line\r\n", "line\r\n"},
        {"\xCE\xF8\xE8\xE1\xEA\xE0", "\xCE\xF8\xE8\xE1\xEA\xE0."}, // Cyrillic letters
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TopLevelText(c.Message), c.Shown) << c.Message;
}

} // namespace
} // namespace gravlink
