#include "fib/fib_error.h"
#include "fib/fib_query.h"
#include "tests/fib/fib_fixture.h"

#include <gtest/gtest.h>

namespace gravlink::test {

// The program's statement qryDBCheck on frmMain, over a fresh database with a table T.
class Query : public ::testing::Test {
protected:
    Query() {
        database.Isql("create table T (ID integer not null, NAME varchar(20));"
                      "insert into T values (1, 'one');"
                      "insert into T values (2, 'two');"
                      "insert into T values (3, null);");
        objects.dbsGrav.SetDBName(database.File());
        objects.dbsGrav.Open();
        qryDBCheck.SetDatabase(&objects.dbsGrav);
        qryDBCheck.SetTransaction(&objects.trnEdit);
    }

    // Column texts of every row, ";"-joined, one entry per row: the export's pattern.
    std::vector<std::string> Rows(const std::string& sql) {
        qryDBCheck.Close();
        qryDBCheck.SetSQL(sql);
        qryDBCheck.ExecQuery();
        std::vector<std::string> rows;
        while (!qryDBCheck.Eof()) {
            std::string line;
            for (int i = 0; i < qryDBCheck.FieldCount(); ++i) {
                qryDBCheck.Fields(i).AppendAsString(line);
                line += ';';
            }
            if (!line.empty())
                line.pop_back();
            rows.push_back(line);
            qryDBCheck.Next();
        }
        return rows;
    }

    TestDatabase database;
    MainWindowObjects objects;
    TpFIBQuery qryDBCheck{&objects.frmMain, "qryDBCheck"};
};

TEST_F(Query, SelectWalksEveryRowInOrder) {
    objects.trnEdit.StartTransaction();
    EXPECT_EQ(Rows("select ID, NAME from T order by ID"),
              (std::vector<std::string>{"1;one", "2;two", "3;"}));
    EXPECT_EQ(qryDBCheck.SQLType(), SQLSelect);
    EXPECT_EQ(qryDBCheck.FieldCount(), 2);
    EXPECT_EQ(qryDBCheck.Fields(1).Name(), "NAME");
    EXPECT_EQ(qryDBCheck.Fields(1).RelationName(), "T");
    EXPECT_EQ(qryDBCheck.Next(), nullptr) << "Next after the end returns nothing";
}

TEST_F(Query, SelectWithNoRowsReadsNullColumns) {
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("select ID, NAME from T where ID < 0");
    qryDBCheck.Prepare();
    EXPECT_EQ(qryDBCheck.Fields(0).AsString(), "") << "prepared, never executed";
    qryDBCheck.ExecQuery();
    EXPECT_TRUE(qryDBCheck.Eof());
    ASSERT_EQ(qryDBCheck.FieldCount(), 2);
    EXPECT_TRUE(qryDBCheck.Fields(0).IsNull());
    EXPECT_EQ(qryDBCheck.Fields(0).AsString(), "");
    EXPECT_EQ(qryDBCheck.Next(), nullptr);
    // ID is NOT NULL: only the missing row makes it null, also once the cursor is gone.
    objects.trnEdit.Commit();
    EXPECT_EQ(qryDBCheck.Fields(0).AsString(), "");
}

TEST_F(Query, ColumnsAreNamedAfterTheirAliases) {
    objects.trnEdit.StartTransaction();
    // Firebird sends an empty alias for a negated column.
    qryDBCheck.SetSQL("select ID as A, NAME as A, -ID, -ID, ID from T");
    qryDBCheck.ExecQuery();
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(qryDBCheck.FieldCount()));
    for (int i = 0; i < qryDBCheck.FieldCount(); ++i)
        names.push_back(qryDBCheck.Fields(i).Name());
    EXPECT_EQ(names, (std::vector<std::string>{"A", "A1", "F_1", "F_2", "ID"}));
    EXPECT_EQ(qryDBCheck.Fields(1).AliasName(), "A1") << "written back into the descriptor";
    EXPECT_EQ(qryDBCheck.Fields(1).ColumnName(), "NAME");
}

TEST_F(Query, CommitClosesTheCursorAndNextThenFails) {
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("select ID from T order by ID");
    qryDBCheck.ExecQuery();
    ASSERT_FALSE(qryDBCheck.Eof());
    objects.trnEdit.Commit();
    EXPECT_TRUE(qryDBCheck.Eof());
    EXPECT_TRUE(qryDBCheck.Prepared()) << "the statement stays prepared";
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { qryDBCheck.Next(); }),
              "Can't fetch next record because frmMain.qryDBCheck dataset closed.");
}

TEST_F(Query, RetainingCommitKeepsTheCursor) {
    objects.trnEdit.StartTransaction();
    EXPECT_EQ(Rows("select ID from T order by ID").size(), 3u);
    qryDBCheck.ExecQuery();
    objects.trnEdit.CommitRetaining();
    EXPECT_FALSE(qryDBCheck.Eof());
    EXPECT_NE(qryDBCheck.Next(), nullptr);
    EXPECT_EQ(qryDBCheck.Fields(0).AsString(), "2");
}

TEST_F(Query, ChangingTheTextWithAnOpenCursorFails) {
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("select ID from T");
    qryDBCheck.ExecQuery();
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { qryDBCheck.SetSQL("select 1 from T"); }),
              "Can't change sql text because frmMain.qryDBCheck dataset open.");
    qryDBCheck.Close();
    qryDBCheck.SetSQL("select NAME from T");
    EXPECT_FALSE(qryDBCheck.Prepared());
    EXPECT_EQ(qryDBCheck.SQL(), "select NAME from T\r\n");
}

// The statement's own checks, in the order Prepare makes them.
TEST_F(Query, PrepareChecksAndTheirMessages) {
    qryDBCheck.SetSQL("select ID from T");
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { qryDBCheck.ExecQuery(); }),
              "frmMain.trnEdit :Transaction is not active.");

    objects.trnEdit.StartTransaction();
    for (const char* empty : {"", "  \r\n\t "}) {
        qryDBCheck.SetSQL(empty);
        EXPECT_EQ(MessageOf<EFIBClientError>([&] { qryDBCheck.ExecQuery(); }),
                  "Can't Prepare , because  query is empty");
    }

    TpFIBQuery unbound(&objects.frmMain, "qryLoose");
    unbound.SetSQL("select ID from T");
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { unbound.Prepare(); }),
              "Database not assigned for frmMain.qryLoose.");
    TpFIBDatabase other(&objects.frmMain, "dbsOther");
    unbound.SetDatabase(&other);
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { unbound.Prepare(); }),
              "frmMain.dbsOther: Cannot perform operation -- DB is not open.");
    unbound.SetDatabase(&objects.dbsGrav);
    EXPECT_EQ(unbound.Transaction(), &objects.trnEdit) << "the default transaction is taken";
    unbound.Prepare();
    EXPECT_TRUE(unbound.Prepared());
}

TEST_F(Query, ServerRefusalLeavesNoHandle) {
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("select NOPE from T");
    const std::string message = MessageOf<EFIBInterBaseError>([&] { qryDBCheck.ExecQuery(); });
    EXPECT_EQ(message.rfind("frmMain.qryDBCheck:\r\n", 0), 0u) << message;
    EXPECT_FALSE(qryDBCheck.Prepared());
    EXPECT_EQ(qryDBCheck.HandleValue(), 0u);
}

TEST_F(Query, FieldIndexOutsideTheColumns) {
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("select ID, NAME from T");
    qryDBCheck.ExecQuery();
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { qryDBCheck.Fields(-1); }),
              "Field \"Field No: -1\" not found.");
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { qryDBCheck.Fields(2); }),
              "Field \"Field No: 2\" not found.");
}

TEST_F(Query, StatementsWithoutCursor) {
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("update T set NAME = 'x' where ID = 1");
    qryDBCheck.ExecQuery();
    EXPECT_EQ(qryDBCheck.SQLType(), SQLUpdate);
    EXPECT_TRUE(qryDBCheck.Eof());
    EXPECT_EQ(qryDBCheck.FieldCount(), 0);

    objects.trnEdit.Commit();
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("ALTER TABLE T ADD EXPORTED TIMESTAMP");
    qryDBCheck.ExecQuery();
    EXPECT_EQ(qryDBCheck.SQLType(), SQLDDL);
    EXPECT_TRUE(qryDBCheck.Eof());
    objects.trnEdit.Commit();
    objects.trnEdit.StartTransaction();
    EXPECT_EQ(Rows("select ID, NAME, EXPORTED from T where ID = 1"),
              std::vector<std::string>{"1;x;"});
}

TEST_F(Query, StartTransactionAndAutoCommitOptions) {
    qryDBCheck.SetOptions(qoStartTransaction | qoAutoCommit);
    qryDBCheck.SetSQL("insert into T values (4, 'four')");
    qryDBCheck.ExecQuery();
    EXPECT_FALSE(objects.trnEdit.Active()) << "committed after the execute";
    // With the options left on, a select would be committed, its cursor closed, at once.
    EXPECT_TRUE(Rows("select NAME from T where ID = 4").empty());
    qryDBCheck.SetOptions(0);
    objects.trnEdit.StartTransaction();
    EXPECT_EQ(Rows("select NAME from T where ID = 4"), std::vector<std::string>{"four"});
}

TEST_F(Query, ColonsInsideLiteralsAndCommentsAreNoParameters) {
    const std::string text = "select ID from T where NAME <> '12:30:00' /* :a ? */ -- :b\r\n"
                             "and NAME <> 'x?y'";
    qryDBCheck.SetSQL(text);
    EXPECT_EQ(qryDBCheck.ParamCount(), 0);
    EXPECT_EQ(qryDBCheck.ProcessedSQL(), text + "\r\n") << "sent unchanged";
    objects.trnEdit.StartTransaction();
    qryDBCheck.ExecQuery();
    EXPECT_FALSE(qryDBCheck.Eof());
}

TEST_F(Query, ParametersAreRecognisedAndSent) {
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("select NAME from T where ID = :ID or NAME = ?\"Nm\" -- :c\r\n");
    ASSERT_EQ(qryDBCheck.ParamCount(), 2);
    EXPECT_EQ(qryDBCheck.Params(0).Name(), "ID");
    EXPECT_EQ(qryDBCheck.Params(1).Name(), "Nm");
    EXPECT_EQ(qryDBCheck.ProcessedSQL(), "select NAME from T where ID = ? or NAME = ?");
    qryDBCheck.Params(0).SetAsString("2");
    qryDBCheck.ExecQuery();
    EXPECT_EQ(qryDBCheck.Fields(0).AsString(), "two");
    qryDBCheck.Next();
    EXPECT_TRUE(qryDBCheck.Eof()) << "the parameter left alone went as null";

    // A parameter set after prepare converts to the column's type; "," is a decimal point.
    qryDBCheck.Close();
    qryDBCheck.SetSQL("create table P (N numeric(15,2), S varchar(5))");
    qryDBCheck.ExecQuery();
    objects.trnEdit.Commit();
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("insert into P values (:N, :S)");
    qryDBCheck.Prepare();
    qryDBCheck.Params(0).SetAsString("1234,5");
    qryDBCheck.ExecQuery();
    EXPECT_EQ(Rows("select N, S from P"), std::vector<std::string>{"1234.5;"});
}

TEST_F(Query, ParseErrorsNameTheStatement) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"select ID from T where ID = :ID and NAME = 'abc", "EOF in string detected"},
        {"select ID from T where ID = :ID /* open", "EOF in comment detected"},
        {"select ID from T where ID = : ", "Parameter name expected"},
        {"select ID from T where ID = ?", "Parameter name expected"},
    };
    objects.trnEdit.StartTransaction();
    for (const auto& [text, reason] : cases) {
        // A structured binding may not be captured before C++20 compilers all allow it.
        const std::string& sqlText = text;
        qryDBCheck.SetSQL("update T set ID = ID + 10");
        qryDBCheck.ExecQuery();
        EXPECT_EQ(MessageOf<EFIBClientError>([&] { qryDBCheck.SetSQL(sqlText); }),
                  "SQL Parse Error in :frmMain.qryDBCheck \r\n\r\n" + reason)
            << text;
        // The refused text must not leave the earlier statement behind to run again.
        EXPECT_EQ(MessageOf<EFIBClientError>([&] { qryDBCheck.ExecQuery(); }),
                  "Can't Prepare , because  query is empty")
            << text;
    }
    EXPECT_EQ(Rows("select min(ID) from T"), std::vector<std::string>{"41"});
}

TEST_F(Query, DisconnectReleasesTheHandleAndReconnectPreparesAgain) {
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("select ID from T order by ID");
    qryDBCheck.ExecQuery();
    ASSERT_NE(qryDBCheck.HandleValue(), 0u);
    objects.dbsGrav.Close();
    EXPECT_EQ(qryDBCheck.HandleValue(), 0u);
    EXPECT_FALSE(qryDBCheck.Prepared());
    EXPECT_TRUE(qryDBCheck.Eof());

    objects.dbsGrav.Open();
    objects.trnEdit.StartTransaction();
    qryDBCheck.ExecQuery();
    EXPECT_EQ(qryDBCheck.Fields(0).AsString(), "1");
}

TEST_F(Query, ProcedureBodiesKeepTheirColonsAndProceduresReturnValues) {
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("create procedure TWICE (A integer) returns (X integer) as\r\n"
                      "begin X = :A * 2; end");
    EXPECT_EQ(qryDBCheck.ParamCount(), 0);
    qryDBCheck.ExecQuery();
    objects.trnEdit.Commit();

    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("execute procedure TWICE(21)");
    qryDBCheck.ExecQuery();
    EXPECT_EQ(qryDBCheck.SQLType(), SQLExecProcedure);
    ASSERT_EQ(qryDBCheck.FieldCount(), 1);
    EXPECT_EQ(qryDBCheck.Fields(0).AsString(), "42") << "read without a fetch";
}

TEST_F(Query, StatementOutlivedByNothingUnbindsOnDestruction) {
    {
        TpFIBQuery temporary(&objects.frmMain, "qryTemp");
        temporary.SetDatabase(&objects.dbsGrav);
        EXPECT_EQ(objects.dbsGrav.SQLObjectCount(), 2u);
        EXPECT_EQ(objects.trnEdit.SQLObjectCount(), 2u);
    }
    EXPECT_EQ(objects.dbsGrav.SQLObjectCount(), 1u);
    EXPECT_EQ(objects.trnEdit.SQLObjectCount(), 1u);
}

} // namespace gravlink::test

#include "tests/fixtures/private_server.h"

namespace gravlink::test {

// A server that goes away under an open cursor: the fetch fails with the statement as
// sender and closes the cursor; the lost connection takes the handle without a call.
TEST(QueryLostServer, FetchFailsAndTheHandleIsForgotten) {
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

    server.Kill();
    try {
        // Rows already buffered by the client may still come; the server's loss shows
        // at the latest when they are used up.
        while (qryDBCheck.Next()) {
        }
        FAIL() << "fetching from a dead server succeeded";
    } catch (const EFIBInterBaseError& failure) {
        EXPECT_EQ(failure.Message().rfind("frmMain.qryDBCheck:\r\n", 0), 0u) << failure.Message();
    }
    EXPECT_TRUE(qryDBCheck.Eof());
    EXPECT_NO_THROW(objects.dbsGrav.Close());
    EXPECT_EQ(qryDBCheck.HandleValue(), 0u);
    EXPECT_FALSE(qryDBCheck.Prepared());
}

} // namespace gravlink::test
