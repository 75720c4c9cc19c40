#include "app/connection_credentials.h"
#include "fib/fib_database.h"
#include "fib/fib_error.h"
#include "tests/fib/fib_fixture.h"
#include "tests/fixtures/private_server.h"

#include <gtest/gtest.h>

namespace gravlink::test {

namespace {

// A statement bound to both the connection and the transaction, as qryDBCheck is.
class RecordingStatement : public IFIBDatabaseClient, public IFIBTransactionClient {
public:
    std::vector<std::string> Log;

    void DatabaseBeforeDisconnect(TFIBDatabase&) override { Log.push_back("before disconnect"); }
    void DatabaseConnectionLost(TFIBDatabase&) override { Log.push_back("connection lost"); }
    void DatabaseFreed(TFIBDatabase&) override {}
    void TransactionBeforeEnd(TFIBTransaction& transaction, TTransactionAction) override {
        Log.push_back("before end, state " + std::to_string(transaction.TransactionState()));
    }
    void TransactionFreed(TFIBTransaction&) override {}
};

} // namespace

TEST(LostServer, CloseForgetsTheConnectionQuietly) {
    TestDatabase database;
    PrivateServer server;
    if (!server.Running())
        GTEST_SKIP() << server.Failure();

    MainWindowObjects objects;
    RecordingStatement qryDBCheck;
    objects.dbsGrav.AddSQLObject(&qryDBCheck);
    objects.trnEdit.AddSQLObject(&qryDBCheck);
    objects.dbsGrav.SetDBName(server.ConnectString(database.File()));
    objects.dbsGrav.Open();
    objects.trnEdit.StartTransaction();
    ASSERT_TRUE(objects.dbsGrav.CheckConnectionAlive());

    server.Kill();
    EXPECT_FALSE(objects.dbsGrav.CheckConnectionAlive());
    EXPECT_NO_THROW(objects.dbsGrav.Close());
    EXPECT_FALSE(objects.dbsGrav.Connected());
    EXPECT_FALSE(objects.trnEdit.Active());
    EXPECT_EQ(objects.trnEdit.TransactionState(), tsInactive);
    // The statement drops its handle; the end of the transaction closes its cursor.
    EXPECT_EQ(qryDBCheck.Log, (std::vector<std::string>{"connection lost", "before end, state 4"}));
    objects.dbsGrav.RemoveSQLObject(&qryDBCheck);
    objects.trnEdit.RemoveSQLObject(&qryDBCheck);
}

// Without the liveness probe of TpFIBDatabase the server calls themselves fail: a
// commit is refused and keeps the work pending, while a disconnect ends everything
// with force and stays quiet.
TEST(LostServer, RefusedCommitStaysActiveAndForcedEndsDropTheHandles) {
    TestDatabase database;
    PrivateServer server;
    if (!server.Running())
        GTEST_SKIP() << server.Failure();

    TComponent frmMain(nullptr, "frmMain");
    TFIBDatabase dbsGrav(&frmMain, "dbsGrav");
    TpFIBTransaction trnEdit(&frmMain, "trnEdit");
    dbsGrav.DBParams().Assign(ConnectionParamLinesOfEnvironment());
    dbsGrav.SetDefaultTransaction(&trnEdit);
    RecordingStatement qryDBCheck;
    trnEdit.AddSQLObject(&qryDBCheck);
    dbsGrav.SetDBName(server.ConnectString(database.File()));
    dbsGrav.Open();
    trnEdit.StartTransaction();

    server.Kill();
    try {
        trnEdit.Commit();
        FAIL() << "a commit on a dead server succeeded";
    } catch (const EFIBInterBaseError& failure) {
        EXPECT_EQ(failure.Message().substr(0, 18), "frmMain.trnEdit:\r\n");
        EXPECT_EQ(failure.Sender(), &trnEdit);
    }
    EXPECT_TRUE(trnEdit.Active());
    EXPECT_EQ(trnEdit.TransactionState(), tsActive);

    EXPECT_NO_THROW(dbsGrav.Close());
    EXPECT_FALSE(dbsGrav.Connected());
    EXPECT_FALSE(trnEdit.Active());
    EXPECT_EQ(qryDBCheck.Log,
              (std::vector<std::string>{"before end, state 4", "before end, state 2"}));
    trnEdit.RemoveSQLObject(&qryDBCheck);
}

} // namespace gravlink::test
