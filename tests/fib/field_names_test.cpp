#include "fib/fib_error.h"
#include "fib/query_cache.h"
#include "tests/fib/fib_fixture.h"

#include <gtest/gtest.h>

namespace gravlink::test {

namespace {

using Names = std::vector<std::string>;

const char* const WeighingsTable =
    "create table WEIGHINGS (ID integer, GROSS integer, NET integer);";

} // namespace

class FieldNames : public ::testing::TestWithParam<int> {
protected:
    FieldNames() : database({.Dialect = GetParam()}) {
        database.Isql(WeighingsTable);
        objects.dbsGrav.SetDBName(database.File());
        objects.dbsGrav.Open();
        objects.dbsGrav.SetSQLDialect(GetParam());
    }

    TestDatabase database;
    MainWindowObjects objects;
};

TEST_P(FieldNames, ColumnsInTheirDefinedOrderWithoutBlanks) {
    Names names = {"left over"};
    objects.dbsGrav.GetFieldNames("WEIGHINGS", names);
    EXPECT_EQ(names, (Names{"ID", "GROSS", "NET"}));
    EXPECT_FALSE(objects.dbsGrav.InternalTransaction().Active());
    EXPECT_FALSE(objects.trnEdit.Active()) << "the program's transaction is not touched";
}

TEST_P(FieldNames, LowerCaseNameFindsTheTableInDialectOneOnly) {
    Names names;
    objects.dbsGrav.GetFieldNames("weighings", names);
    EXPECT_EQ(names, GetParam() == 1 ? (Names{"ID", "GROSS", "NET"}) : Names{});
}

TEST_P(FieldNames, MissingTableGivesAnEmptyList) {
    Names names = {"left over"};
    objects.dbsGrav.GetFieldNames("NO_SUCH_TABLE", names);
    EXPECT_TRUE(names.empty());
}

INSTANTIATE_TEST_SUITE_P(Dialect, FieldNames, ::testing::Values(1, 3),
                         [](const auto& info) { return "Dialect" + std::to_string(info.param); });

TEST(FieldNamesPool, SuccessiveCallsReuseOnePreparedStatement) {
    TestDatabase database;
    database.Isql(WeighingsTable);
    MainWindowObjects objects;
    objects.dbsGrav.SetDBName(database.File());
    objects.dbsGrav.Open();

    Names names;
    objects.dbsGrav.GetFieldNames("WEIGHINGS", names);
    const TCacheQueries* pool = TCacheList::Instance().QueriesOf(objects.dbsGrav);
    ASSERT_NE(pool, nullptr);
    EXPECT_EQ(pool->FreeCount(), 1u);
    EXPECT_EQ(pool->UsedCount(), 0u);

    TFIBTransaction& internal = objects.dbsGrav.InternalTransaction();
    const std::string text = "Select RDB$FIELD_NAME  from RDB$RELATION_FIELDS R where "
                             "R.RDB$RELATION_NAME = :TN ORDER BY R.RDB$FIELD_POSITION \r\n";
    TpFIBQuery* first = AcquireQuery(&internal, text);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->Prepared()) << "kept prepared between uses";
    EXPECT_EQ(first->Options(), 5u);
    EXPECT_EQ(pool->UsedCount(), 1u);
    ReleaseQuery(first);

    objects.dbsGrav.GetFieldNames("WEIGHINGS", names);
    EXPECT_EQ(names, (Names{"ID", "GROSS", "NET"}));
    EXPECT_EQ(pool->FreeCount(), 1u);
    EXPECT_FALSE(internal.Active());
    EXPECT_EQ(AcquireQuery(nullptr, text), nullptr);
}

TEST(FieldNamesPool, ClosedConnectionFailsAndLeavesTheList) {
    MainWindowObjects objects;
    Names names = {"kept"};
    EXPECT_EQ(
        MessageOf<EFIBClientError>([&] { objects.dbsGrav.GetFieldNames("WEIGHINGS", names); }),
        "frmMain.dbsGrav: Cannot perform operation -- DB is not open.");
    EXPECT_EQ(names, Names{"kept"});
}

TEST(FieldNamesPool, ReconnectPreparesThePooledStatementAgain) {
    TestDatabase database;
    database.Isql(WeighingsTable);
    Names names;
    {
        MainWindowObjects objects;
        objects.dbsGrav.SetDBName(database.File());
        objects.dbsGrav.Open();
        objects.dbsGrav.GetFieldNames("WEIGHINGS", names);
        objects.dbsGrav.Close();
        objects.dbsGrav.Open();
        names.clear();
        objects.dbsGrav.GetFieldNames("WEIGHINGS", names);
        EXPECT_EQ(names.size(), 3u);
        EXPECT_NE(TCacheList::Instance().QueriesOf(objects.dbsGrav), nullptr);
    }
    // The connection took its pooled statements with it; a new one starts afresh.
    MainWindowObjects again;
    EXPECT_EQ(TCacheList::Instance().QueriesOf(again.dbsGrav), nullptr);
}

} // namespace gravlink::test
