#include "fib/fib_error.h"
#include "fib/fib_query.h"
#include "fib/reply_watch.h"
#include "tests/fib/fib_fixture.h"
#include "tests/fixtures/private_server.h"
#include "tests/fixtures/process_freeze.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace gravlink::test {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// A server that stops under an open cursor (SIGSTOP): its kernel still acknowledges
// the fetch, and only the watch ends the wait, with the library's network error. The
// time between calls is no wait for the server and never counts. Without the watch the
// fetch waits until the freeze's limit lets the server go on.
TEST(ReplyWatch, ACallTheServerNeverAnswersIsCutAfterTheBound) {
    TestDatabase database;
    database.Isql("create table T (ID integer); insert into T select 1 from rdb$types;");
    PrivateServer server;
    if (!server.Running())
        GTEST_SKIP() << server.Failure();

    MainWindowObjects objects;
    TpFIBQuery qryDBCheck(&objects.frmMain, "qryDBCheck");
    qryDBCheck.SetDatabase(&objects.dbsGrav);
    objects.dbsGrav.SetDBName(server.ConnectString(database.File()));
    objects.dbsGrav.Open();
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("select a.ID from T a cross join T b");
    qryDBCheck.ExecQuery();
    ASSERT_FALSE(qryDBCheck.Eof());

    // Armed once the cursor is open, so that no slow call before the freeze is cut;
    // then idle for longer than the bound.
    constexpr milliseconds Bound(3000);
    const TReplyWatch watch(objects.dbsGrav, Bound);
    std::this_thread::sleep_for(Bound + milliseconds(1000));

    const ProcessFreeze freeze(
        server.Pid(), [] { return true; }, std::chrono::seconds(60));
    while (!freeze.Frozen())
        std::this_thread::sleep_for(milliseconds(1));
    const auto started = steady_clock::now();
    try {
        // Rows the client holds already still come; the next batch is never answered.
        while (qryDBCheck.Next()) {
        }
        FAIL() << "fetching from a stopped server ended";
    } catch (const EFIBInterBaseError& failure) {
        EXPECT_EQ(failure.Message().rfind("frmMain.qryDBCheck:\r\n", 0), 0u) << failure.Message();
        EXPECT_NE(failure.Message().find("Error reading data from the connection.\r\n"),
                  std::string::npos)
            << failure.Message();
    }
    EXPECT_GE(steady_clock::now() - started, Bound);
    // The port is closed: the next call fails at once, and closing forgets the rest.
    EXPECT_THROW(objects.dbsGrav.ServerSqlDialect(), EFIBInterBaseError);
    EXPECT_NO_THROW(objects.dbsGrav.Close());
    EXPECT_FALSE(objects.dbsGrav.Connected());
    // The only ceiling: none of it waited for the server to go on.
    EXPECT_FALSE(freeze.ThawedByLimit());
}

} // namespace gravlink::test
