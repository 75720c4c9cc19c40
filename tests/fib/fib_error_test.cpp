#include "fib/fib_error.h"
#include "fib/fib_query.h"
#include "tests/fib/fib_fixture.h"

#include <gtest/gtest.h>

namespace gravlink::test {

TEST(FullName, JoinsNamedOwnersOutermostFirst) {
    TComponent frmMain(nullptr, "frmMain");
    TComponent nameless(&frmMain);
    TComponent dstStat(&nameless, "dstStat");
    TComponent selectQuery(&dstStat, "SelectQuery");
    EXPECT_EQ(FullName(&selectQuery), "frmMain.dstStat.SelectQuery");
    EXPECT_EQ(FullName(&nameless), "frmMain");
    EXPECT_EQ(FullName(nullptr), "");
}

TEST(FullName, InternalTransactionCarriesTheConnectionsName) {
    MainWindowObjects objects;
    EXPECT_EQ(FullName(&objects.dbsGrav.InternalTransaction()), "frmMain.dbsGrav");
    EXPECT_EQ(FullName(&objects.trnEdit), "frmMain.trnEdit");
}

struct ClientMessageCase {
    int Number;
    std::initializer_list<TFormatArg> Args;
    const char* Expected;
};

TEST(ClientErrorMessages, FormatExactlyAndCarryNoPrefix) {
    const ClientMessageCase cases[] = {
        {0, {}, "Unknown error."},
        {2, {}, "Not permitted."},
        {8, {"page_size"}, "DPB Constant (isc_dpb_page_size) is unsupported."},
        {9, {"user_name "}, "DPB Constant (user_name ) is unknown."},
        {10, {"autocommit"}, "TPB Constant (isc_tpb_autocommit) is unsupported."},
        {11, {"dirty_read"}, "TPB Constant (dirty_read) is unknown."},
        {12, {"frmMain.dbsGrav"}, "frmMain.dbsGrav: Cannot perform operation -- DB is not open."},
        {13, {}, "Cannot perform operation -- DB is currently open."},
        {14, {}, "Database name is missing."},
        {15, {"frmMain.trnEdit"}, "frmMain.trnEdit :Transaction is not active."},
        {16, {"frmMain.trnEdit"}, "frmMain.trnEdit :Transaction is active."},
        {17, {}, "Timeout values cannot be negative."},
        {18,
         {"frmMain.trnEdit"},
         "frmMain.trnEdit :No databases are listed in transaction component."},
        {21, {"frmMain.qryDBCheck"}, "Database not assigned for frmMain.qryDBCheck."},
        {22, {"frmMain.qryDBCheck"}, "Transaction not assigned for frmMain.qryDBCheck."},
        {23, {}, "XSQLDA index out of range."},
        {28,
         {"change sql text", "frmMain.qryDBCheck"},
         "Can't change sql text because frmMain.qryDBCheck dataset open."},
        {29,
         {"fetch next record", "frmMain.qryDBCheck"},
         "Can't fetch next record because frmMain.qryDBCheck dataset closed."},
        {30, {12345LL}, "Unknown SQL Data type (12345)."},
        {33, {}, "Invalid data conversion."},
        {37, {"Prepare"}, "Can't Prepare , because  query is empty"},
        {41, {"Field No: -1"}, "Field \"Field No: -1\" not found."},
        {51,
         {"frmMain.qryDBCheck", "EOF in string detected"},
         "SQL Parse Error in :frmMain.qryDBCheck \r\n\r\nEOF in string detected"},
        {61, {}, "SQL Dialect invalid"},
        {74, {"dstStat", "NAME"}, "Field Size too small. Field dstStat.NAME"},
    };
    for (const ClientMessageCase& c : cases) {
        try {
            RaiseClientError(c.Number, c.Args);
            ADD_FAILURE() << "message " << c.Number << " raised nothing";
        } catch (const EFIBClientError& failure) {
            EXPECT_EQ(failure.Message(), c.Expected) << "message " << c.Number;
            EXPECT_EQ(failure.SqlCode(), c.Number);
            EXPECT_EQ(failure.Sender(), nullptr);
            EXPECT_EQ(failure.SqlMessage(), "");
        }
    }
}

TEST(ClientErrorMessages, TableKeepsEveryNumber) {
    for (int number = 0; number < ClientErrorMessageCount; ++number)
        EXPECT_NE(std::string(ClientErrorMessage(number)), "") << number;
}

TEST(StatusError, AttachToAMissingFileNamesTheConnectionAndEndsEachLineWithCRLF) {
    TempDir dir;
    MainWindowObjects objects;
    const std::string missing = (dir / "missing.fdb").string();
    objects.dbsGrav.SetDBName(missing);
    try {
        objects.dbsGrav.Open();
        FAIL() << "attached to a missing file";
    } catch (const EFIBInterBaseError& failure) {
        const std::string& text = failure.Message();
        const std::string prefix = "frmMain.dbsGrav:\r\n";
        ASSERT_EQ(text.substr(0, prefix.size()), prefix);
        EXPECT_EQ(text.substr(prefix.size()), failure.SqlMessage() + failure.IscMessage());
        EXPECT_EQ(failure.SqlCode(), -902);
        EXPECT_EQ(failure.IscErrorCode(), isc_io_error);
        EXPECT_EQ(failure.Sender(), &objects.dbsGrav);
        // Statements tell ignorable failures by the codes the vector holds.
        EXPECT_TRUE(StatusHoldsError(isc_io_error));
        EXPECT_TRUE(StatusHoldsError(isc_io_open_err));
        EXPECT_FALSE(StatusHoldsError(isc_bad_stmt_handle));
        EXPECT_EQ(failure.SqlMessage(),
                  "Unsuccessful execution caused by a system error that precludes successful "
                  "execution of subsequent statements.");
        EXPECT_EQ(failure.IscMessage(), "I/O error during \"open\" operation for file \"" +
                                            missing +
                                            "\".\r\nError while trying to open file.\r\n"
                                            "No such file or directory.\r\n");
    }
    EXPECT_FALSE(objects.dbsGrav.Connected());
}

// Engine messages longer than any fixed buffer arrive whole, with the lines around them
// as they are for short ones.
TEST(StatusError, LongMessagesArriveWhole) {
    TempDir dir;
    MainWindowObjects objects;
    std::string missing = dir.Path().string();
    for (int i = 0; i < 8; ++i)
        missing += "/" + std::string(100, static_cast<char>('a' + i));
    missing += "/missing.fdb";
    objects.dbsGrav.SetDBName(missing);
    try {
        objects.dbsGrav.Open();
        FAIL() << "attached to a missing file";
    } catch (const EFIBInterBaseError& failure) {
        EXPECT_EQ(failure.IscMessage(), "I/O error during \"open\" operation for file \"" +
                                            missing +
                                            "\".\r\nError while trying to open file.\r\n"
                                            "No such file or directory.\r\n");
    }

    TestDatabase database;
    const std::string text(930, 'x');
    database.Isql("create exception E_LONG '" + text +
                  "';"
                  "create table T (ID integer);"
                  "set term ^;"
                  "create trigger T_BU for T before update as begin exception E_LONG; end^"
                  "set term ;^"
                  "insert into T values (1);");
    objects.dbsGrav.SetDBName(database.File());
    objects.dbsGrav.Open();
    TpFIBQuery qryDBCheck(&objects.frmMain, "qryDBCheck");
    qryDBCheck.SetDatabase(&objects.dbsGrav);
    qryDBCheck.SetTransaction(&objects.trnEdit);
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("update T set ID = 2");
    try {
        qryDBCheck.ExecQuery();
        FAIL() << "the trigger let the update through";
    } catch (const EFIBInterBaseError& failure) {
        EXPECT_EQ(failure.IscMessage(), "exception 1.\r\nE_LONG.\r\n" + text +
                                            ".\r\nAt trigger 'T_BU' line: 1, col: 50.\r\n");
    }
}

} // namespace gravlink::test
