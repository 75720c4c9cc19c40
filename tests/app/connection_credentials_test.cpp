#include "app/connection_credentials.h"
#include "app/settings_file.h"
#include "tests/fixtures/private_server.h"
#include "tests/fixtures/program_run.h"
#include "tests/fixtures/weighing_database.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace gravlink {
namespace {

TEST(ConnectionCredentials, TheEnvironmentReplacesOnlyTheUserNameAndThePassword) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(ConnectionParamLines(nullptr, nullptr),
              (Lines{"lc_ctype=WIN1251", "password=quillbark", "user_name=SYSDBA"}));
    EXPECT_EQ(ConnectionParamLines("", ""),
              (Lines{"lc_ctype=WIN1251", "password=quillbark", "user_name=SYSDBA"}));
    EXPECT_EQ(ConnectionParamLines("WEIGHER", "s3cret=;x"),
              (Lines{"lc_ctype=WIN1251", "password=s3cret=;x", "user_name=WEIGHER"}));
    EXPECT_EQ(ConnectionParamLines("WEIGHER", nullptr),
              (Lines{"lc_ctype=WIN1251", "password=quillbark", "user_name=WEIGHER"}));
}

// A Firebird user with only the rights the export needs, on a server of the test's own
// so that its users stay apart from the shared server's.
class RestrictedUser : public test::ProgramRun {
protected:
    void SetUp() override {
        if (!Server.Running())
            GTEST_SKIP() << Server.Failure();
        std::filesystem::create_directory(Dir / "out");
        TExportSettings settings = Database.Settings((Dir / "out").string());
        settings.DBName = Server.ConnectString(Database.File());
        WriteSettingsFile((Dir / "gravlink.ini").string(), settings);
    }
    void TearDown() override {
        if (Server.Running())
            Admin("drop user WEIGHER;");
    }
    // Runs SQL as the server's administrator.
    void Admin(const std::string& sql) {
        const test::IsqlResult run = test::RunIsql(
            "connect '" + Server.ConnectString(Database.File()) + "' user '" + test::TestUser() +
            "' password '" + test::TestPassword() + "' role 'RDB$ADMIN';\n" + sql + "\ncommit;\n");
        ASSERT_EQ(run.Status, 0) << run.Output;
    }
    // A count asked through the server, which holds the file while it is open.
    long long Count(const std::string& where) {
        const test::IsqlResult run =
            test::RunIsql("connect '" + Server.ConnectString(Database.File()) + "' user '" +
                          test::TestUser() + "' password '" + test::TestPassword() +
                          "';\nselect count(*) from WEIGHTS where " + where + ";\n");
        const size_t digits = run.Output.find_last_of("0123456789");
        if (run.Status != 0 || digits == std::string::npos)
            return -1;
        const size_t start = run.Output.find_last_not_of("0123456789", digits) + 1;
        return std::stoll(run.Output.substr(start, digits - start + 1));
    }
    test::ProcessResult RunAsWeigher() {
        return Run("-auto", "C.UTF-8", {{"ISC_USER", "WEIGHER"}, {"ISC_PASSWORD", "scales-7"}});
    }

    test::PrivateServer Server;
    test::WeighingDatabase Database;
};

TEST_F(RestrictedUser, SelectAndUpdateOfTheStampColumnAreEnoughForTheExport) {
    Admin("create user WEIGHER password 'scales-7';\n"
          "grant select on WEIGHTS to WEIGHER;\n"
          "grant update (EXPWDT) on WEIGHTS to WEIGHER;");
    const test::ProcessResult run = RunAsWeigher();
    EXPECT_EQ(run.Status, 0) << run.Output << test::ReadFileBytes(Dir / "error.log");
    EXPECT_EQ(Count("EXPWDT is null"), 0);
    const std::string exported = test::ReadFileBytes(Dir / "out" / "gravout.cvs");
    EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), 3) << exported;
}

TEST_F(RestrictedUser, AlterAddsAMissingStampColumn) {
    Database.Isql("alter table WEIGHTS drop EXPWDT;");
    Admin("create user WEIGHER password 'scales-7';\n"
          "grant select on WEIGHTS to WEIGHER;\n"
          "grant update on WEIGHTS to WEIGHER;\n"
          "grant alter any table to WEIGHER;");
    const test::ProcessResult run = RunAsWeigher();
    EXPECT_EQ(run.Status, 0) << run.Output << test::ReadFileBytes(Dir / "error.log");
    EXPECT_EQ(Count("EXPWDT is not null"), 4);
}

// Without the update right the stamps are refused: the lines went out, nothing is
// stamped, so the next run sends them again and nothing is lost.
TEST_F(RestrictedUser, WithoutTheUpdateRightNothingIsStampedAndTheRunFails) {
    Admin("create user WEIGHER password 'scales-7';\n"
          "grant select on WEIGHTS to WEIGHER;");
    const test::ProcessResult run = RunAsWeigher();
    EXPECT_EQ(run.Status, 1) << run.Output;
    EXPECT_NE(test::ReadFileBytes(Dir / "error.log").find("no permission"), std::string::npos)
        << test::ReadFileBytes(Dir / "error.log");
    EXPECT_EQ(Count("EXPWDT is not null"), 1);
}

TEST_F(RestrictedUser, AWrongPasswordIsRefusedAndLogged) {
    Admin("create user WEIGHER password 'scales-7';");
    const test::ProcessResult run =
        Run("-auto", "C.UTF-8", {{"ISC_USER", "WEIGHER"}, {"ISC_PASSWORD", "quillbark"}});
    EXPECT_EQ(run.Status, 1) << run.Output;
    EXPECT_NE(test::ReadFileBytes(Dir / "error.log").find("password"), std::string::npos)
        << test::ReadFileBytes(Dir / "error.log");
}

} // namespace
} // namespace gravlink
