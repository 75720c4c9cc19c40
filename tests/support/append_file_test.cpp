#include "support/append_file.h"
#include "support/exception.h"
#include "tests/fixtures/file_size_limit.h"
#include "tests/fixtures/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace gravlink {
namespace {

TEST(AppendFile, CreatesThenAppendsNeverTruncating) {
    test::TempDir dir;
    const std::string path = (dir / "gravout.cvs").string();
    {
        TAppendFile file(path, TAppendFile::TLockWait::Fail);
        file.Write("1;;ab\r\n");
    }
    {
        TAppendFile file(path, TAppendFile::TLockWait::Fail);
        file.Write("2;x;cd\r\n");
        file.Sync();
    }
    EXPECT_EQ(test::ReadFileBytes(path), "1;;ab\r\n2;x;cd\r\n");
}

TEST(AppendFile, LargeWritesKeepTheirOrder) {
    test::TempDir dir;
    const std::string path = (dir / "big").string();
    std::string expected;
    {
        TAppendFile file(path, TAppendFile::TLockWait::Fail);
        for (int i = 0; i < 5000; ++i) {
            const std::string line = std::to_string(i) + std::string(i % 97, 'x') + "\r\n";
            file.Write(line);
            expected += line;
        }
        const std::string huge(200 * 1024, 'h');
        file.Write(huge);
        expected += huge;
    }
    EXPECT_EQ(test::ReadFileBytes(path), expected);
}

TEST(AppendFile, ASecondHolderFailsWithIoError32OrWaits) {
    test::TempDir dir;
    const std::string path = (dir / "gravout.cvs").string();
    TAppendFile first(path, TAppendFile::TLockWait::Fail);
    try {
        TAppendFile second(path, TAppendFile::TLockWait::Fail);
        FAIL() << "a held file was opened a second time";
    } catch (const EInOutError& failure) {
        EXPECT_EQ(failure.ErrorCode(), 32);
        EXPECT_EQ(failure.Message(), "I/O error 32");
    }
}

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
        {(dir / "missing" / "gravout.cvs").string(), 3, "Invalid filename"},
        {(dir / "missing" / "deeper" / "gravout.cvs").string(), 3, "Invalid filename"},
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

// What reached the disk before the failure ends with a whole line, so the next run's
// first line is not glued onto a torn one.
TEST(AppendFile, AFailedWriteCutsTheFileBackToItsLastWholeLine) {
    test::TempDir dir;
    const std::string path = (dir / "gravout.cvs").string();
    const std::string before = "earlier run\r\n";
    test::WriteFileBytes(path, before);
    const std::string line = std::string(97, 'x') + "\r\n";
    std::string all = before;
    {
        TAppendFile file(path, TAppendFile::TLockWait::Fail);
        const test::FileSizeLimit limit(before.size() + 100 * 1024);
        try {
            for (int i = 0; i < 2000; ++i) {
                file.Write(line);
                all += line;
            }
            file.Sync();
            FAIL() << "the limit let every line through";
        } catch (const EInOutError& failure) {
            EXPECT_EQ(failure.Message(), "I/O error 27");
        }
    }
    const std::string kept = test::ReadFileBytes(path);
    EXPECT_GT(kept.size(), before.size());
    EXPECT_EQ(kept.size() % line.size(), before.size() % line.size()) << "a torn line stays";
    EXPECT_EQ(all.compare(0, kept.size(), kept), 0);

    // The same for a single write that does not fit: nothing of it stays.
    {
        TAppendFile file(path, TAppendFile::TLockWait::Fail);
        const test::FileSizeLimit limit(kept.size() + 10);
        file.Write(line);
        EXPECT_THROW(file.Sync(), EInOutError);
    }
    EXPECT_EQ(test::ReadFileBytes(path), kept);
}

} // namespace
} // namespace gravlink
