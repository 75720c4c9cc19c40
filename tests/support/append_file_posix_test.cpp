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
        const test::FileSizeLimit limit(before.size() + size_t{100} * 1024);
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

// The check reads the file this run holds, not whatever the name leads to by then (a
// file held open on Windows cannot be renamed).
TEST(AppendFile, TheTornLineCheckReadsTheFileItHolds) {
    test::TempDir dir;
    const std::filesystem::path path = dir / "gravout.cvs";
    test::WriteFileBytes(path, "1;a\r\n2;torn");
    {
        TAppendFile file(path.string(), TAppendFile::TLockWait::Fail);
        std::filesystem::rename(path, dir / "collected.cvs");
        test::WriteFileBytes(path, "x\r\ny");
        file.CutTornLine();
        file.Write("3;c\r\n");
    }
    EXPECT_EQ(test::ReadFileBytes(dir / "collected.cvs"), "1;a\r\n3;c\r\n");
    EXPECT_EQ(test::ReadFileBytes(path), "x\r\ny");
}

} // namespace
} // namespace gravlink
