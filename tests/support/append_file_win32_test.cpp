#include "support/append_file.h"
#include "support/exception.h"
#include "tests/fixtures/temp_dir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

namespace gravlink {
namespace {

// A handle of another program on the file, with the sharing it allows.
class TOtherProgram {
public:
    TOtherProgram(const std::filesystem::path& path, DWORD access, DWORD share)
        : FHandle(CreateFileW(path.c_str(), access, share, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~TOtherProgram() { Close(); }
    TOtherProgram(const TOtherProgram&) = delete;
    TOtherProgram& operator=(const TOtherProgram&) = delete;

    bool Opened() const { return FHandle != INVALID_HANDLE_VALUE; }
    void Close() {
        if (Opened())
            CloseHandle(FHandle);
        FHandle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE FHandle;
};

TEST(AppendFile, OthersMayReadTheOpenFileButNotWriteIt) {
    test::TempDir dir;
    const auto path = dir / "gravout.cvs";
    TAppendFile file(path.string(), TAppendFile::TLockWait::Fail);
    file.Write("1;;ab\r\n");
    file.Sync();

    const TOtherProgram reader(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_TRUE(reader.Opened());
    EXPECT_EQ(test::ReadFileBytes(path), "1;;ab\r\n");
    const TOtherProgram writer(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_FALSE(writer.Opened());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

TEST(AppendFile, AFileAnotherProgramHoldsIsIoError32) {
    test::TempDir dir;
    const auto path = dir / "gravout.cvs";
    const TOtherProgram holder(path, GENERIC_WRITE, 0);
    ASSERT_TRUE(holder.Opened());
    try {
        TAppendFile file(path.string(), TAppendFile::TLockWait::Fail);
        FAIL() << "a held file was opened";
    } catch (const EInOutError& failure) {
        EXPECT_EQ(failure.ErrorCode(), 32);
        EXPECT_EQ(failure.Message(), "I/O error 32");
    }
}

TEST(AppendFile, TheErrorLogWaitsForAHolderThatLetsGo) {
    test::TempDir dir;
    const auto path = dir / "error.log";
    TOtherProgram holder(path, GENERIC_WRITE, 0);
    ASSERT_TRUE(holder.Opened());
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        holder.Close();
    });
    {
        TAppendFile log(path.string(), TAppendFile::TLockWait::Wait);
        log.Write("entry\r\n");
    }
    release.join();
    EXPECT_EQ(test::ReadFileBytes(path), "entry\r\n");
}

TEST(AppendFile, AFolderIsNoFileToAppendTo) {
    test::TempDir dir;
    try {
        TAppendFile file(dir.Path().string(), TAppendFile::TLockWait::Fail);
        FAIL() << "a folder was opened";
    } catch (const EInOutError& failure) {
        EXPECT_EQ(failure.ErrorCode(), 5);
        EXPECT_EQ(failure.Message(), "File access denied");
    }
}

} // namespace
} // namespace gravlink
