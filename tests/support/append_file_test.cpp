#include "support/append_file.h"
#include "support/exception.h"
#include "tests/fixtures/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

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

// A run killed in the middle of a write leaves part of a line; the next run's first
// line must not run into it.
TEST(AppendFile, ATornLastLineIsCutBackToTheLineBefore) {
    test::TempDir dir;
    const std::string path = (dir / "gravout.cvs").string();
    const std::string longLine = std::string(size_t{100} * 1024, 'x') + "\r\n";
    const struct {
        std::string Before, After;
    } cases[] = {
        {"", "3;c\r\n"},
        {"1;a\r\n2;b\r\n", "1;a\r\n2;b\r\n3;c\r\n"},
        {"1;a\r\n2;torn", "1;a\r\n3;c\r\n"},
        {"1;a\r\n2;torn\r", "1;a\r\n3;c\r\n"},
        {"torn", "3;c\r\n"},
        {longLine + std::string(size_t{70} * 1024, 'y'), longLine + "3;c\r\n"},
        // A line feed inside a value is no line end.
        {"1;a\r\n2;b\nc", "1;a\r\n3;c\r\n"},
        // The line end lies across the edge of the last 64 KiB read.
        {"1;a\r\n" + std::string(64 * 1024 - 1, 'y'), "1;a\r\n3;c\r\n"},
    };
    for (const auto& c : cases) {
        test::WriteFileBytes(path, c.Before);
        {
            TAppendFile file(path, TAppendFile::TLockWait::Fail);
            file.CutTornLine();
            file.Write("3;c\r\n");
        }
        EXPECT_EQ(test::ReadFileBytes(path), c.After) << c.Before.substr(0, 20);
    }
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
        const std::string huge(size_t{200} * 1024, 'h');
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

TEST(AppendFile, AMissingFolderIsInvalidFilename) {
    test::TempDir dir;
    for (const auto& path : {dir / "missing" / "gravout.cvs", dir / "missing" / "deeper" / "x"}) {
        try {
            TAppendFile file(path.string(), TAppendFile::TLockWait::Fail);
            ADD_FAILURE() << path << " opened";
        } catch (const EInOutError& failure) {
            EXPECT_EQ(failure.ErrorCode(), 3) << path;
            EXPECT_EQ(failure.Message(), "Invalid filename") << path;
        }
    }
}

} // namespace
} // namespace gravlink
