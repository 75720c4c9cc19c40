#include "support/exception.h"
#include "support/file_error.h"
#include "tests/fixtures/temp_dir.h"

#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <system_error>
#include <windows.h>

namespace gravlink {
namespace {

struct Case {
    int Code;
    int Number;
    std::string Message;
};

void ExpectRaised(const Case& c, const std::function<void()>& raise) {
    try {
        raise();
        ADD_FAILURE() << c.Code << " raised nothing";
    } catch (const EInOutError& failure) {
        EXPECT_EQ(failure.ErrorCode(), c.Number) << c.Code;
        EXPECT_EQ(failure.Message(), c.Message) << c.Code;
    }
}

// The system's own codes are the table's numbers.
TEST(FileError, Win32CodesAreTheTablesNumbers) {
    const Case cases[] = {
        {ERROR_FILE_NOT_FOUND, 2, "File not found"},
        {ERROR_PATH_NOT_FOUND, 3, "Invalid filename"},
        {ERROR_TOO_MANY_OPEN_FILES, 4, "Too many open files"},
        {ERROR_ACCESS_DENIED, 5, "File access denied"},
        {ERROR_SHARING_VIOLATION, 32, "I/O error 32"},
        {ERROR_DISK_FULL, 112, "I/O error 112"},
        {ERROR_INVALID_NAME, 123, "I/O error 123"},
    };
    for (const Case& c : cases)
        ExpectRaised(c, [&] { RaiseInOutError(c.Code); });
}

// The standard library's file calls report errno; they read as the system's codes.
TEST(FileError, TheStandardLibrarysErrnosReadAsWin32Codes) {
    test::TempDir dir;
    const struct {
        int Errno;
        std::string Path;
        Case Expected;
    } cases[] = {
        {ENOENT, (dir / "gravlink.ini.bak").string(), {ENOENT, 2, "File not found"}},
        {ENOENT, (dir / "missing" / "gravlink.ini.bak").string(), {ENOENT, 3, "Invalid filename"}},
        {EACCES, "", {EACCES, 5, "File access denied"}},
        {ENOSPC, "", {ENOSPC, 112, "I/O error 112"}},
    };
    for (const auto& c : cases)
        ExpectRaised(c.Expected, [&] {
            RaiseInOutError(std::error_code(c.Errno, std::generic_category()), c.Path);
        });
    ExpectRaised({ERROR_SHARING_VIOLATION, 32, "I/O error 32"}, [] {
        RaiseInOutError(std::error_code(ERROR_SHARING_VIOLATION, std::system_category()), "x");
    });
}

} // namespace
} // namespace gravlink
