#include "support/date_time_value.h"
#include "workflow/period_condition.h"
#include "workflow/stamp_statements.h"

#include <gtest/gtest.h>

namespace gravlink {
namespace {

TEST(StampStatements, ReadAsTheOperatorConfiguredThem) {
    const std::string stamp = "2007-04-09 14:05:33";
    struct Case {
        std::string Sql;
        std::string Expected;
    };
    const Case cases[] = {
        {StampUnexportedSql("T", "S", stamp, "and confirm is null"),
         "update T set S = '2007-04-09 14:05:33' where S is null and confirm is null"},
        // Without extra conditions the final blank of the format stays.
        {StampUnexportedSql("T", "S", stamp, ""),
         "update T set S = '2007-04-09 14:05:33' where S is null "},
        {StampOneSql("T", "S", stamp, "42"),
         "update T set S = '2007-04-09 14:05:33' where idr = 42"},
        {ClearOneSql("T", "S", "42"), "update T set S = null where idr = 42"},
        {StampAllSql("T", "S", stamp), "update T set S = '2007-04-09 14:05:33' where S is null"},
        {ClearAllSql("T", "S"), "update T set S = null where not (S is null)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.Sql, c.Expected);
}

TEST(StampStatements, KeysAreDataNotSql) {
    EXPECT_EQ(KeyLiteral("42", true), "42");
    EXPECT_EQ(KeyLiteral("-7", true), "-7");
    EXPECT_EQ(KeyLiteral("A-17", false), "'A-17'");
    EXPECT_EQ(KeyLiteral("1 or 1=1", false), "'1 or 1=1'");
    EXPECT_EQ(KeyLiteral("x'; delete from T; --", false), "'x''; delete from T; --'");
    EXPECT_EQ(KeyLiteral("", false), "''");
}

TEST(PeriodCondition, BothBoundsStrictAndLocaleIndependent) {
    const TDateTime day = EncodeDate(2007, 4, 9);
    EXPECT_EQ(PeriodCondition("D", day, day + EncodeTime(23, 59, 59, 0)),
              " and D > '2007-04-09 00:00:00' and D < '2007-04-09 23:59:59'");
}

} // namespace
} // namespace gravlink
