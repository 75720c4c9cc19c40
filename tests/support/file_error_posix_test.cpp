#include "support/exception.h"
#include "support/file_error.h"
#include "tests/fixtures/temp_dir.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace gravlink {
namespace {

TEST(FileError, OnlyTheTableOfErrnosTakesTheFileLayersOwnMessages) {
    test::TempDir dir;
    struct Case {
        int Errno;
        std::string Path;
        int Number;
        std::string Message;
    };
    const Case cases[] = {
        {ENOENT, (dir / "gravout.cvs").string(), 2, "File not found"},
        {ENOENT, (dir / "missing" / "gravout.cvs").string(), 3, "Invalid filename"},
        {EACCES, "", 5, "File access denied"},
        {EROFS, "", 5, "File access denied"},
        {EMFILE, "", 4, "Too many open files"},
        {ENOSPC, "", 101, "Disk full"},
        {EDQUOT, "", 101, "Disk full"},
        // Errnos that happen to share a number of the table keep their own meaning.
        {EIO, "", 5, "I/O error 5"},
        {ESRCH, "", 3, "I/O error 3"},
        {ENETDOWN, "", 100, "I/O error 100"},
        {ENETUNREACH, "", 101, "I/O error 101"},
        {EISCONN, "", 106, "I/O error 106"},
        {EISDIR, "", 21, "I/O error 21"},
    };
    for (const Case& c : cases) {
        try {
            RaiseInOutError(c.Errno, c.Path);
            ADD_FAILURE() << c.Errno << " raised nothing";
        } catch (const EInOutError& failure) {
            EXPECT_EQ(failure.ErrorCode(), c.Number) << c.Errno;
            EXPECT_EQ(failure.Message(), c.Message) << c.Errno;
        }
    }
}

} // namespace
} // namespace gravlink
