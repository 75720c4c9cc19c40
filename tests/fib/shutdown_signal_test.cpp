#include "fib/fib_database.h"
#include "tests/fixtures/test_database.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace gravlink {
namespace {

// The client library catches the terminate signal for its own shutdown; the
// program must still end by it, or a scheduler could never stop a run.
TEST(ClientLibraryShutdown, ATerminateSignalStillEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::TestDatabase database;
    EXPECT_EXIT(
        {
            TpFIBDatabase connection;
            connection.DBParams().Assign({"user_name=SYSDBA", "password=quillbark"});
            connection.SetDBName(database.ConnectString());
            connection.Open();
            std::raise(SIGTERM);
            std::this_thread::sleep_for(std::chrono::seconds(20));
            std::exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
}

} // namespace
} // namespace gravlink
