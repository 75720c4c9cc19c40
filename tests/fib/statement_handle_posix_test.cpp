#include "app/connection_credentials.h"
#include "fib/fib_component.h"
#include "fib/fib_database.h"
#include "fib/fib_query.h"
#include "fib/fib_transaction.h"
#include "tests/fixtures/private_server.h"
#include "tests/fixtures/test_database.h"

#include <algorithm>
#include <array>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace gravlink::test {
namespace {

using TFiller = std::array<unsigned char, sizeof(TFIBQuery)>;
constexpr unsigned char FillerByte = 0xA5;

// Statements of an attachment whose server died are dropped and freed; what the
// program allocates next takes their places. The client, which keeps the address of
// each statement's handle field, zeroes those fields at its own shutdown: none of it
// may land in the program's memory. Ends the process: 0 when nothing was touched.
[[noreturn]] void LoseStatementsThenShutTheClientDown(PrivateServer& server,
                                                      const std::string& database) {
    TComponent frmMain(nullptr, "frmMain");
    TpFIBDatabase dbsGrav(&frmMain, "dbsGrav");
    TFIBTransaction trnEdit(&frmMain, "trnEdit");
    dbsGrav.DBParams().Assign(ConnectionParamLinesOfEnvironment());
    dbsGrav.SetDefaultTransaction(&trnEdit);
    dbsGrav.SetDBName(server.ConnectString(database));
    dbsGrav.Open();
    trnEdit.StartTransaction();
    std::vector<std::unique_ptr<TFIBQuery>> statements(16);
    for (auto& statement : statements) {
        statement = std::make_unique<TFIBQuery>(&frmMain, "qryDBCheck");
        statement->SetDatabase(&dbsGrav);
        statement->SetTransaction(&trnEdit);
        statement->SetSQL("select 1 from RDB$DATABASE");
        statement->Prepare();
    }
    server.Kill();
    dbsGrav.Close(); // the server is gone: the connection and its statements are forgotten
    statements.clear();

    std::vector<std::unique_ptr<TFiller>> fillers;
    for (int i = 0; i < 256; ++i) {
        fillers.push_back(std::make_unique<TFiller>());
        fillers.back()->fill(FillerByte);
    }
    void* client = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_NOLOAD);
    auto* shutdown = reinterpret_cast<int (*)(unsigned, int)>(
        client != nullptr ? dlsym(client, "fb_shutdown") : nullptr);
    if (shutdown == nullptr)
        _exit(3);
    shutdown(0, fb_shutrsn_app_stopped);
    for (const auto& filler : fillers)
        if (std::any_of(filler->begin(), filler->end(),
                        [](unsigned char byte) { return byte != FillerByte; }))
            _exit(1);
    _exit(0);
}

TEST(StatementHandleDeathTest, TheClientZeroesNoFieldTheProgramHasFreed) {
    // The forked child must load the client library itself, and find none of its
    // state from this process.
    if (void* loaded = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_NOLOAD); loaded != nullptr) {
        dlclose(loaded);
        GTEST_SKIP() << "the client library is loaded in this process already: run this "
                        "test in a process of its own, as CTest does";
    }
    TestDatabase database;
    PrivateServer server;
    if (!server.Running())
        GTEST_SKIP() << server.Failure();
    EXPECT_EXIT(LoseStatementsThenShutTheClientDown(server, database.File()),
                ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace gravlink::test
