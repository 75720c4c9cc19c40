#include "fib/fib_error.h"
#include "fib/fib_transaction.h"
#include "fib/transaction_params.h"
#include "tests/fib/fib_fixture.h"

#include <gtest/gtest.h>

namespace gravlink::test {

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string result;
    for (int b : bytes)
        result += static_cast<char>(b);
    return result;
}

// A statement or data set as its transaction sees it: records each end notice with the
// state the transaction was in.
class RecordingClient : public IFIBTransactionClient {
public:
    RecordingClient(std::string name, std::vector<std::string>& log)
        : FName(std::move(name)), FLog(log) {}
    void TransactionBeforeEnd(TFIBTransaction& transaction, TTransactionAction) override {
        FLog.push_back(FName + " before end, state " +
                       std::to_string(transaction.TransactionState()) +
                       (transaction.Active() ? ", active" : ""));
    }
    void TransactionAfterEnd(TFIBTransaction& transaction, TTransactionAction) override {
        FLog.push_back(FName + " after end" + (transaction.Active() ? ", active" : ""));
    }
    void TransactionFreed(TFIBTransaction&) override { FLog.push_back(FName + " freed"); }

private:
    std::string FName;
    std::vector<std::string>& FLog;
};

} // namespace

class Transaction : public ::testing::Test {
protected:
    Transaction() {
        objects.dbsGrav.SetDBName(database.File());
        objects.dbsGrav.Open();
    }

    TestDatabase database;
    MainWindowObjects objects;
};

TEST_F(Transaction, ProgramTransactionBlockAndStart) {
    TpFIBTransaction& trnEdit = objects.trnEdit;
    EXPECT_EQ(trnEdit.TransactionState(), tsInactive);
    trnEdit.StartTransaction();
    EXPECT_TRUE(trnEdit.Active());
    EXPECT_EQ(trnEdit.TransactionState(), tsActive);
    EXPECT_EQ(trnEdit.TPB(), Bytes({3, 9, 7, 17, 15}));
    EXPECT_EQ(trnEdit.TRParams().Lines(),
              (std::vector<std::string>{"write", "nowait", "rec_version", "read_committed"}));

    const isc_tr_handle handle = trnEdit.HandleValue();
    trnEdit.StartTransaction();
    EXPECT_EQ(trnEdit.HandleValue(), handle) << "starting an active transaction started anew";

    EXPECT_EQ(MessageOf<EFIBClientError>([&] { trnEdit.TRParams().Add("wait"); }),
              "frmMain.trnEdit :Transaction is active.");
    trnEdit.Commit();
    EXPECT_FALSE(trnEdit.Active());
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { trnEdit.Commit(); }),
              "frmMain.trnEdit :Transaction is not active.");
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { trnEdit.Rollback(); }),
              "frmMain.trnEdit :Transaction is not active.");
    EXPECT_NO_THROW(trnEdit.SetActive(false));
}

TEST_F(Transaction, RepeatableReadStartsASnapshot) {
    objects.trnEdit.SetTPBMode(tpbRepeatableRead);
    objects.trnEdit.StartTransaction();
    EXPECT_EQ(objects.trnEdit.TPB(), Bytes({3, 9, 7, 2}));
    EXPECT_TRUE(objects.trnEdit.Active());
}

TEST_F(Transaction, PlainTransactionRefusesASecondStart) {
    TFIBTransaction& internal = objects.dbsGrav.InternalTransaction();
    internal.StartTransaction();
    EXPECT_EQ(internal.TPB(), Bytes({3, 9, 7, 17, 15}));
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { internal.StartTransaction(); }),
              "frmMain.dbsGrav :Transaction is active.");
    EXPECT_TRUE(internal.Active());
}

TEST_F(Transaction, StartNeedsAnOpenListedDatabase) {
    TpFIBTransaction lonely(&objects.frmMain, "trnLonely");
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { lonely.StartTransaction(); }),
              "frmMain.trnLonely :No databases are listed in transaction component.");

    objects.dbsGrav.Close();
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { objects.trnEdit.StartTransaction(); }),
              "frmMain.dbsGrav: Cannot perform operation -- DB is not open.");
    EXPECT_FALSE(objects.trnEdit.Active());
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { objects.trnEdit.SetTimeout(-1); }),
              "Timeout values cannot be negative.");
}

TEST_F(Transaction, ParameterLinesOfDefaultMode) {
    struct Case {
        std::vector<std::string> Lines;
        std::string Block;
        std::vector<std::string> WrittenBack;
    };
    const Case cases[] = {
        {{" Read_Committed ", "isc_tpb_nowait"},
         Bytes({3, 15, 7}),
         {"Read_Committed", "isc_tpb_nowait"}},
        {{"concurrency", "", "wait", "lock_write=T1"},
         Bytes({3, 2, 6, 11, 2}) + "T1",
         {"concurrency", "", "wait", "lock_write=T1"}},
        {{}, "", {}},
    };
    for (const Case& c : cases) {
        TParamLines lines;
        lines.Assign(c.Lines);
        EXPECT_EQ(BuildTransactionParamBlock(lines), c.Block);
        EXPECT_EQ(lines.Lines(), c.WrittenBack);
    }

    TpFIBTransaction& trnEdit = objects.trnEdit;
    trnEdit.SetTPBMode(tpbDefault);
    trnEdit.TRParams().Assign({"autocommit"});
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { trnEdit.StartTransaction(); }),
              "TPB Constant (isc_tpb_autocommit) is unsupported.");
    trnEdit.TRParams().Assign({"dirty_read"});
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { trnEdit.StartTransaction(); }),
              "TPB Constant (dirty_read) is unknown.");
    EXPECT_FALSE(trnEdit.Active());

    trnEdit.TRParams().Assign({"write", "nowait", " Read_Committed ", "rec_version"});
    trnEdit.StartTransaction();
    EXPECT_EQ(trnEdit.TPB(), Bytes({3, 9, 7, 15, 17}));
}

TEST_F(Transaction, RefusedStartNamesTheTransactionAndStaysInactive) {
    TpFIBTransaction& trnEdit = objects.trnEdit;
    trnEdit.SetTPBMode(tpbDefault);
    trnEdit.TRParams().Assign({"read", "consistency", "lock_read=NO_SUCH"});
    try {
        trnEdit.StartTransaction();
        FAIL() << "the server reserved a table that does not exist";
    } catch (const EFIBInterBaseError& failure) {
        EXPECT_EQ(failure.Message(),
                  "frmMain.trnEdit:\r\n" + failure.SqlMessage() + failure.IscMessage());
        EXPECT_NE(failure.IscMessage().find("NO_SUCH"), std::string::npos);
        EXPECT_EQ(failure.Sender(), &trnEdit);
    }
    EXPECT_FALSE(trnEdit.Active());
    EXPECT_EQ(trnEdit.TransactionState(), tsInactive);

    trnEdit.TRParams().Assign({"write", "nowait", "read_committed"});
    trnEdit.StartTransaction();
    EXPECT_TRUE(trnEdit.Active());
}

TEST_F(Transaction, EndNoticesRunLastToFirstWithTheEndUnderWay) {
    std::vector<std::string> log;
    RecordingClient qryDBCheck("qryDBCheck", log);
    RecordingClient dstStat("dstStat", log);
    TpFIBTransaction& trnEdit = objects.trnEdit;
    trnEdit.AddSQLObject(&qryDBCheck);
    trnEdit.AddSQLObject(&dstStat);

    trnEdit.StartTransaction();
    trnEdit.CommitRetaining();
    EXPECT_TRUE(trnEdit.Active());
    EXPECT_EQ(trnEdit.TransactionState(), tsActive);
    trnEdit.RollbackRetaining();
    EXPECT_TRUE(trnEdit.Active());
    trnEdit.Commit();
    EXPECT_FALSE(trnEdit.Active());
    trnEdit.StartTransaction();
    trnEdit.SetActive(false);
    EXPECT_FALSE(trnEdit.Active());

    const std::vector<std::string> expected = {"dstStat before end, state 5, active",
                                               "qryDBCheck before end, state 5, active",
                                               "dstStat after end, active",
                                               "qryDBCheck after end, active",
                                               "dstStat before end, state 3, active",
                                               "qryDBCheck before end, state 3, active",
                                               "dstStat after end, active",
                                               "qryDBCheck after end, active",
                                               "dstStat before end, state 4, active",
                                               "qryDBCheck before end, state 4, active",
                                               "dstStat after end",
                                               "qryDBCheck after end",
                                               "dstStat before end, state 2, active",
                                               "qryDBCheck before end, state 2, active",
                                               "dstStat after end",
                                               "qryDBCheck after end"};
    EXPECT_EQ(log, expected);
    trnEdit.RemoveSQLObject(&qryDBCheck);
    trnEdit.RemoveSQLObject(&dstStat);
}

TEST_F(Transaction, DestroyedTransactionRollsBackAndTellsItsObjects) {
    std::vector<std::string> log;
    RecordingClient qryDBCheck("qryDBCheck", log);
    {
        TpFIBTransaction trnTemp(&objects.frmMain, "trnTemp");
        trnTemp.SetDefaultDatabase(&objects.dbsGrav);
        EXPECT_EQ(objects.dbsGrav.TransactionCount(), 3u);
        trnTemp.AddSQLObject(&qryDBCheck);
        trnTemp.StartTransaction();
    }
    EXPECT_EQ(objects.dbsGrav.TransactionCount(), 2u);
    const std::vector<std::string> expected = {"qryDBCheck before end, state 2, active",
                                               "qryDBCheck after end", "qryDBCheck freed"};
    EXPECT_EQ(log, expected);
}

} // namespace gravlink::test
