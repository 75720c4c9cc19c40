#include "support/append_file.h"
#include "support/exception.h"
#include "tests/fixtures/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace gravlink {
namespace {

// A missing folder: AMissingFolderIsInvalidFilename, on both platforms.
TEST(AppendFile, OpenFailuresReadByTheirErrorNumber) {
    test::TempDir dir;
    struct Case {
        std::string Path;
        int Number;
        std::string Message;
    };
    std::filesystem::create_directory(dir / "readonly");
    ::chmod((dir / "readonly").c_str(), 0555);
    const bool root = ::geteuid() == 0;
    std::vector<Case> cases = {
        {dir.Path().string(), 21, "I/O error 21"}, // a folder, not a file
    };
    if (!root) // root writes through permissions
        cases.push_back({(dir / "readonly" / "x").string(), 5, "File access denied"});
    for (const Case& c : cases) {
        try {
            TAppendFile file(c.Path, TAppendFile::TLockWait::Fail);
            ADD_FAILURE() << c.Path << " opened";
        } catch (const EInOutError& failure) {
            EXPECT_EQ(failure.ErrorCode(), c.Number) << c.Path;
            EXPECT_EQ(failure.Message(), c.Message) << c.Path;
        }
    }
}

TEST(AppendFile, AFullDiskIsReportedWhenTheLinesAreSynced) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    TAppendFile file("/dev/full", TAppendFile::TLockWait::Fail);
    file.Write("line\r\n");
    try {
        file.Sync();
        FAIL() << "a write to a full disk succeeded";
    } catch (const EInOutError& failure) {
        EXPECT_EQ(failure.Message(), "Disk full");
    }
}

} // namespace
} // namespace gravlink
