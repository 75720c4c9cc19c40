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
