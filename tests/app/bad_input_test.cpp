// Settings no operator should have written, and texts of every odd kind: the
// unattended run ends by itself with a clear report and loses nothing.
#include "app/report_texts.h"
#include "app/settings_file.h"
#include "support/code_page.h"
#include "tests/fixtures/program_run.h"
#include "tests/fixtures/weighing_database.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <random>

namespace gravlink {
namespace {

class BadInput : public test::ProgramRun {
protected:
    BadInput() {
        std::filesystem::create_directory(Dir / "out");
        Settings = Database.Settings((Dir / "out").string());
    }
    std::string SettingsText() {
        WriteSettingsFile((Dir / "gravlink.ini").string(), Settings);
        return test::ReadFileBytes(Dir / "gravlink.ini");
    }
    std::string Log() {
        return std::filesystem::exists(Dir / "error.log") ? test::ReadFileBytes(Dir / "error.log")
                                                          : std::string();
    }
    long long Lines() {
        const std::string exported = std::filesystem::exists(Dir / "out" / "gravout.cvs")
                                         ? test::ReadFileBytes(Dir / "out" / "gravout.cvs")
                                         : std::string();
        return std::count(exported.begin(), exported.end(), '\n');
    }

    test::WeighingDatabase Database;
    TExportSettings Settings;
};

struct DamagedFile {
    const char* Name;
    std::string (*Make)(const std::string& good);
};

const DamagedFile DamagedFiles[] = {
    {"Binary",
     [](const std::string&) {
         std::mt19937 random(7);
         std::string bytes(size_t{64} * 1024, '\0');
         for (char& c : bytes)
             c = static_cast<char>(random());
         return bytes;
     }},
    {"Truncated", [](const std::string& good) { return good.substr(0, good.size() / 2); }},
    {"DeeplyNested",
     [](const std::string& good) {
         std::string nested;
         for (int i = 0; i < 100000; ++i)
             nested += "<a>";
         return good.substr(0, good.find("</Config>")) + nested;
     }},
    {"UnclosedCData",
     [](const std::string& good) {
         return good.substr(0, good.find("</SqlSelect>")) + "<![CDATA[ and NETT < 5";
     }},
};

class DamagedSettings : public BadInput, public ::testing::WithParamInterface<DamagedFile> {};

// A run with settings read only in part exports nothing and stamps nothing: it
// reports the file, keeps it (and its copy as .bak) and ends by itself with status 1.
TEST_P(DamagedSettings, AreKeptAndReportedAndTheRunEndsByItself) {
    const std::string damaged = GetParam().Make(SettingsText());
    test::WriteFileBytes(Dir / "gravlink.ini", damaged);
    const test::ProcessResult run = Run("-auto");
    ASSERT_NE(run.Status, 124) << "the run did not end by itself";
    EXPECT_EQ(run.Status, 1) << run.Output;
    EXPECT_NE(Log().find(ReportTexts().SettingsDamaged), std::string::npos) << Log();
    ASSERT_TRUE(std::filesystem::exists(Dir / "gravlink.ini.bak")) << "the damaged file was lost";
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini.bak"), damaged);
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini"), damaged);
    EXPECT_EQ(Lines(), 0);
    EXPECT_EQ(Database.Stamped(), 1);
}

INSTANTIATE_TEST_SUITE_P(, DamagedSettings, ::testing::ValuesIn(DamagedFiles),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(BadInput, AFiftyMegabyteSettingsFileIsReadAndExports) {
    std::string text = SettingsText();
    text.insert(text.find("  <Config>"),
                "  <Filler>" + std::string(size_t{50} * 1024 * 1024, 'x') + "</Filler>\r\n");
    test::WriteFileBytes(Dir / "gravlink.ini", text);
    const test::ProcessResult run = Run("-auto");
    EXPECT_EQ(run.Status, 0) << run.Output << Log();
    EXPECT_EQ(Lines(), 3);
}

// A long select survives the file and the server, and is written back as it was.
TEST_F(BadInput, AHundredKilobyteSqlTextExportsAndIsWrittenBackUnchanged) {
    std::string select = "select IDR, WEIGH_DT, CARGO, NETT from WEIGHTS where EXPWDT is null";
    while (select.size() < size_t{100} * 1024)
        select += "\r\n  and IDR <> " + std::to_string(select.size() + 1000);
    select += " order by IDR";
    Settings.SqlSelect = select;
    const std::string before = SettingsText();
    const test::ProcessResult run = Run("-auto");
    EXPECT_EQ(run.Status, 0) << run.Output << Log().substr(0, 2000);
    EXPECT_EQ(Lines(), 3);
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini"), before);
}

// Literals of every kind, comments and ":" inside strings are the server's to read.
TEST_F(BadInput, LiteralsCommentsAndColonsInStringsReachTheServerAsWritten) {
    Settings.SqlSelect =
        "select IDR, 'it''s 10:30' as A, q'{it's :x}' as B, _WIN1251 'a:b' as C,\r\n"
        "  x'3A3A' as D, \"NETT\", /* :comment ' */ date '2007-04-09' as E, -- :line '\r\n"
        "  timestamp '2007-04-09 10:00:00' as F, 1.5e3 as G\r\n"
        "from WEIGHTS where EXPWDT is null and CARGO <> 'x:y' order by IDR";
    Settings.SqlAutoExt = "and CONFIRM = 'Y' and coalesce(CARGO, ':') <> q'(:))'";
    SettingsText();
    const test::ProcessResult run = Run("-auto");
    EXPECT_EQ(run.Status, 0) << run.Output << Log();
    const std::string exported = test::ReadFileBytes(Dir / "out" / "gravout.cvs");
    EXPECT_EQ(exported.rfind("1;it's 10:30;it's :x;a:b;::;1234.5;", 0), 0u) << exported;
    EXPECT_EQ(Database.Stamped(), 3); // 1 and 3 by this run, 4 before; 2 is not confirmed
}

// Cyrillic names are SQL identifiers like any other: in double quotes they name the
// table and its columns; bare, the server refuses them and the run says so.
TEST_F(BadInput, CyrillicTableAndColumnNamesWorkQuotedAndAreReportedBare) {
    test::TestDatabase cyrillic;
    cyrillic.Isql(
        Utf8ToWin1251("create table \"ВЕСЫ\" (IDR integer not null primary key, \"ДАТА\" timestamp,"
                      " \"ГРУЗ\" varchar(20));\ncommit;\n"
                      "insert into \"ВЕСЫ\" values (1, '2007-04-09 08:00:00', 'пшеница');\n"
                      "insert into \"ВЕСЫ\" values (2, '2007-04-10 08:00:00', 'рожь');\n"));
    for (const bool quoted : {false, true}) {
        const auto name = [quoted](const std::string& text) {
            return Utf8ToWin1251(quoted ? "\"" + text + "\"" : text);
        };
        std::filesystem::remove(Dir / "error.log");
        Settings.DBName = cyrillic.ConnectString();
        Settings.ExportTableName = name("ВЕСЫ");
        Settings.ExportFieldName = name("ВЫГРУЖЕНО");
        Settings.ExportDateFN = name("ДАТА");
        Settings.SqlSelect = Utf8ToWin1251(
            "select IDR, \"ГРУЗ\" from \"ВЕСЫ\" where \"ВЫГРУЖЕНО\" is null order by IDR");
        Settings.SqlSelectWP = Utf8ToWin1251("select * from \"ВЕСЫ\" where 1=1");
        SettingsText();
        const test::ProcessResult run = Run("-auto");
        if (!quoted) {
            EXPECT_EQ(run.Status, 1) << run.Output;
            EXPECT_NE(Win1251ToUtf8(Log()).find("ВЫГРУЖЕНО"), std::string::npos)
                << Win1251ToUtf8(Log());
            EXPECT_EQ(Lines(), 0);
            continue;
        }
        EXPECT_EQ(run.Status, 0) << run.Output << Win1251ToUtf8(Log());
        EXPECT_EQ(Win1251ToUtf8(test::ReadFileBytes(Dir / "out" / "gravout.cvs")),
                  "1;пшеница\r\n2;рожь\r\n");
    }
}

// A name's length travels to the client library as a short: a database name 65,536
// bytes longer than a real database's must not be taken for that one.
TEST_F(BadInput, ANameLongerThanAShortIsNeverCutToAnotherDatabase) {
    Settings.DBName = Database.ConnectString() + std::string(65536, 'x');
    SettingsText();
    const test::ProcessResult run = Run("-auto");
    EXPECT_EQ(run.Status, 1) << run.Output;
    EXPECT_NE(Log().find(": " + ReportTexts().ConnectFailed + "\r\n"), std::string::npos)
        << Log().substr(0, 500);
    EXPECT_EQ(Lines(), 0);
    EXPECT_EQ(Database.Stamped(), 1);
}

struct BadPath {
    const char* Name;
    std::string DBName;
};

void PrintTo(const BadPath& path, std::ostream* out) {
    *out << path.Name;
}

// Stands for the test database's file in a path: a path read only up to a NUL after it
// would name a database that opens, and the run would export from it.
const std::string TheFile = "{file}";
const std::string Nul(1, '\0');

class MalformedDatabasePath : public BadInput, public ::testing::WithParamInterface<BadPath> {};

// The connect fails with the client library's message; the export that follows reports
// its own failure, writes nothing and stamps nothing.
TEST_P(MalformedDatabasePath, IsRefusedAndReported) {
    std::string dbName = GetParam().DBName;
    if (const size_t file = dbName.find(TheFile); file != std::string::npos)
        dbName.replace(file, TheFile.size(), Database.File());
    Settings.DBName = dbName;
    const std::string before = SettingsText();
    ASSERT_TRUE(dbName.empty() || before.find(">" + dbName + "<") != std::string::npos)
        << "not in the file as it is";
    const test::ProcessResult run = Run("-auto");
    ASSERT_NE(run.Status, 124) << "the run did not end by itself";
    EXPECT_EQ(run.Status, 1) << run.Output;
    EXPECT_NE(Log().find(": " + ReportTexts().ConnectFailed + "\r\n"), std::string::npos) << Log();
    EXPECT_EQ(Lines(), 0);
    EXPECT_EQ(Database.Stamped(), 1);
    EXPECT_EQ(test::ReadFileBytes(Dir / "gravlink.ini"), before);
}

// The reader resolves no character reference: "&#0;" stays text, and only a NUL byte
// in the file itself brings one in.
INSTANTIATE_TEST_SUITE_P(
    , MalformedDatabasePath,
    ::testing::Values(BadPath{"EmptyServer", ":/data/weighing.fdb"}, BadPath{"PortOnly", "/3050:"},
                      BadPath{"ServerAndPortOnly", "localhost/3050:"},
                      BadPath{"VeryLong", "localhost:/" + std::string(70000, 'w') + ".fdb"},
                      BadPath{"CharacterReferenceLeftAsText", "/data/weigh&#0;ing.fdb"},
                      BadPath{"NulByteAfterTheFile", TheFile + Nul + ".old"},
                      BadPath{"NulByteAfterTheFileOnTheServer",
                              "localhost:" + TheFile + Nul + ".old"},
                      BadPath{"NetBeui", "\\\\server\\path"}, BadPath{"Empty", ""}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace gravlink
