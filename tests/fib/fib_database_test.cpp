#include "fib/fib_database.h"
#include "fib/fib_error.h"
#include "tests/fib/fib_fixture.h"

#include <gtest/gtest.h>

namespace gravlink::test {

namespace {

// A statement or data set as the connection sees it: it records what it is told.
class RecordingClient : public IFIBDatabaseClient {
public:
    RecordingClient(std::string name, std::vector<std::string>& log)
        : FName(std::move(name)), FLog(log) {}
    void DatabaseBeforeConnect(TFIBDatabase&) override {
        FLog.push_back(FName + " before connect");
    }
    void DatabaseAfterConnect(TFIBDatabase&) override { FLog.push_back(FName + " after connect"); }
    void DatabaseBeforeDisconnect(TFIBDatabase& database) override {
        FLog.push_back(FName + " before disconnect" + (database.Connected() ? "" : " (closed)"));
    }
    void DatabaseAfterDisconnect(TFIBDatabase& database) override {
        FLog.push_back(FName + " after disconnect" + (database.Connected() ? " (open)" : ""));
    }
    void DatabaseConnectionLost(TFIBDatabase&) override { FLog.push_back(FName + " lost"); }
    void DatabaseFreed(TFIBDatabase&) override { FLog.push_back(FName + " freed"); }

private:
    std::string FName;
    std::vector<std::string>& FLog;
};

} // namespace

class DatabaseConnection : public ::testing::Test {
protected:
    DatabaseConnection() { objects.dbsGrav.SetDBName(database.File()); }

    TestDatabase database;
    MainWindowObjects objects;
};

TEST_F(DatabaseConnection, OpenTwiceAndCloseTwice) {
    TpFIBDatabase& dbsGrav = objects.dbsGrav;
    dbsGrav.Open();
    ASSERT_TRUE(dbsGrav.Connected());
    const isc_db_handle handle = dbsGrav.HandleValue();
    dbsGrav.Open();
    EXPECT_EQ(dbsGrav.HandleValue(), handle) << "a second Open attached again";
    EXPECT_EQ(dbsGrav.SQLDialect(), 3);
    EXPECT_EQ(dbsGrav.ServerSqlDialect(), 3);

    dbsGrav.Close();
    EXPECT_FALSE(dbsGrav.Connected());
    EXPECT_NO_THROW(dbsGrav.Close());
    dbsGrav.SetConnected(true);
    EXPECT_TRUE(dbsGrav.Connected());
    dbsGrav.SetConnected(false);
    EXPECT_FALSE(dbsGrav.Connected());
}

TEST_F(DatabaseConnection, PropertyChecks) {
    TpFIBDatabase& dbsGrav = objects.dbsGrav;
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { dbsGrav.SetTimeout(-1); }),
              "Timeout values cannot be negative.");
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { dbsGrav.SetSQLDialect(0); }), "SQL Dialect invalid");
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { dbsGrav.CheckActive(); }),
              "frmMain.dbsGrav: Cannot perform operation -- DB is not open.");
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { dbsGrav.ServerSqlDialect(); }),
              "frmMain.dbsGrav: Cannot perform operation -- DB is not open.");
    EXPECT_FALSE(dbsGrav.CheckConnectionAlive());

    dbsGrav.Open();
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { dbsGrav.SetSQLDialect(4); }), "SQL Dialect invalid");
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { dbsGrav.SetDBName("/tmp/other.fdb"); }),
              "Cannot perform operation -- DB is currently open.");
    EXPECT_NO_THROW(dbsGrav.SetDBName(database.File())) << "the same name is no change";
    EXPECT_EQ(dbsGrav.DBName(), database.File());
}

TEST_F(DatabaseConnection, EmptyNameIsMissing) {
    TpFIBDatabase unnamed;
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { unnamed.Open(); }), "Database name is missing.");
}

TEST(DatabaseDialect, DialectOneDatabaseLowersTheDialectForGood) {
    TestDatabase dialectOne({.Dialect = 1});
    TestDatabase dialectThree;
    MainWindowObjects objects;
    objects.dbsGrav.SetDBName(dialectOne.File());
    objects.dbsGrav.Open();
    EXPECT_EQ(objects.dbsGrav.ServerSqlDialect(), 1);
    EXPECT_EQ(objects.dbsGrav.SQLDialect(), 1);
    objects.dbsGrav.Close();

    objects.dbsGrav.SetDBName(dialectThree.File());
    objects.dbsGrav.Open();
    EXPECT_EQ(objects.dbsGrav.SQLDialect(), 1);
}

TEST_F(DatabaseConnection, CloseEndsTransactionsBeforeTellingStatementsThenDetaches) {
    std::vector<std::string> log;
    RecordingClient qryDBCheck("qryDBCheck", log);
    RecordingClient dstStat("dstStat", log);
    objects.dbsGrav.AddSQLObject(&qryDBCheck);
    objects.dbsGrav.AddSQLObject(&dstStat);

    objects.dbsGrav.Open();
    objects.trnEdit.StartTransaction();
    objects.dbsGrav.Close();

    EXPECT_FALSE(objects.trnEdit.Active());
    EXPECT_EQ(objects.trnEdit.TransactionState(), tsInactive);
    const std::vector<std::string> expected = {
        "qryDBCheck before connect",   "dstStat before connect",       "qryDBCheck after connect",
        "dstStat after connect",       "qryDBCheck before disconnect", "dstStat before disconnect",
        "qryDBCheck after disconnect", "dstStat after disconnect"};
    EXPECT_EQ(log, expected);
    objects.dbsGrav.RemoveSQLObject(&qryDBCheck);
    objects.dbsGrav.RemoveSQLObject(&dstStat);
}

TEST(BoundList, RemovalMovesTheLastEntryIntoTheFreedPlace) {
    int a = 0, b = 0, c = 0, d = 0;
    TBoundList<int> list;
    for (int* item : {&a, &b, &c, &d})
        list.Add(item);
    list.Add(&b);
    list.Remove(&b);
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list[0], &a);
    EXPECT_EQ(list[1], &d);
    EXPECT_EQ(list[2], &c);
}

TEST(DatabaseLifetime, DestroyedConnectionUnbindsItsObjects) {
    std::vector<std::string> log;
    RecordingClient qryDBCheck("qryDBCheck", log);
    TComponent frmMain(nullptr, "frmMain");
    TpFIBTransaction trnEdit(&frmMain, "trnEdit");
    {
        TpFIBDatabase dbsGrav(&frmMain, "dbsGrav");
        dbsGrav.SetDefaultTransaction(&trnEdit);
        dbsGrav.AddSQLObject(&qryDBCheck);
        EXPECT_EQ(trnEdit.DefaultDatabase(), &dbsGrav);
    }
    EXPECT_EQ(trnEdit.DefaultDatabase(), nullptr);
    EXPECT_EQ(trnEdit.DatabaseCount(), 0u);
    EXPECT_EQ(log, std::vector<std::string>{"qryDBCheck freed"});
}

} // namespace gravlink::test
