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

} // namespace gravlink::test
