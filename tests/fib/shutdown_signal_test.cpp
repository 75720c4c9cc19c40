#include "fib/fib_database.h"
#include "tests/fixtures/test_database.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace gravlink {
namespace {

// The client library takes SIGINT and SIGTERM for a shutdown of its own. A process
// that holds a connection must still end by the signal, as it would without the
// library, or a scheduler could never stop a run; one it was started ignoring stays
// ignored, and the connection goes on.
struct StopCase {
    const char* Name;
    int Signal;
    bool Ignored;
};

class ClientLibraryShutdown : public ::testing::TestWithParam<StopCase> {};

TEST_P(ClientLibraryShutdown, AStopSignalActsAsWithoutTheLibrary) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const StopCase stop = GetParam();
    test::TestDatabase database;
    const auto run = [&] {
        if (stop.Ignored)
            std::signal(stop.Signal, SIG_IGN);
        TpFIBDatabase connection;
        connection.DBParams().Assign({"user_name=SYSDBA", "password=quillbark"});
        connection.SetDBName(database.ConnectString());
        connection.Open();
        std::raise(stop.Signal);
        // Time for the library's shutdown, which runs on a thread of its own.
        std::this_thread::sleep_for(std::chrono::seconds(2));
        std::exit(connection.ServerSqlDialect() == 3 ? 0 : 1);
    };
    if (stop.Ignored)
        EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
    else
        EXPECT_EXIT(run(), ::testing::KilledBySignal(stop.Signal), "");
}

INSTANTIATE_TEST_SUITE_P(, ClientLibraryShutdown,
                         ::testing::Values(StopCase{"Interrupt", SIGINT, false},
                                           StopCase{"Terminate", SIGTERM, false},
                                           StopCase{"IgnoredInterrupt", SIGINT, true}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace gravlink
