#include "fib/fib_xsqlda.h"
#include "fib/scaled_integer_text.h"
#include "fib/sql_params.h"

#include <gtest/gtest.h>

namespace gravlink::test {

TEST(ScaledIntegerText, DecimalsTrailingZerosAndSigns) {
    struct Case {
        int64_t Value;
        int Decimals;
        char Separator;
        const char* Text;
    };
    const Case cases[] = {
        {1050, 2, '.', "10.5"},
        {1000, 2, '.', "10"},
        {-5, 2, '.', "-0.05"},
        {7, 3, '.', "0.007"},
        {0, 2, '.', "0"},
        {1234567, 2, ',', "12345,67"},
        {-9223372036854775807 - 1, 4, '.', "-922337203685477.5808"},
        {9223372036854775807, 18, '.', "9.223372036854775807"},
        {100, 5, '.', "0.001"},
        {-1200, 2, '.', "-12"},
    };
    for (const Case& c : cases) {
        std::string out = "x";
        AppendScaledInt64Text(out, c.Value, c.Decimals, c.Separator);
        EXPECT_EQ(out, std::string("x") + c.Text) << c.Value << " / 10^" << c.Decimals;
    }
}

TEST(OutputColumnNames, UnnamedNumberedDuplicatesMadeUnique) {
    EXPECT_EQ(OutputColumnNames({"A", "A", "", "A1", "", "A"}, false),
              (std::vector<std::string>{"A", "A1", "F_1", "A11", "F_2", "A2"}));
    EXPECT_EQ(OutputColumnNames({"idr", "IDR", ""}, true),
              (std::vector<std::string>{"IDR", "IDR1", "F_1"}))
        << "dialect 1 upper-cases the names";
}

TEST(RecognizeParams, MarkersBecomeQuestionMarksInTheNormalisedText) {
    const TProcessedSQL processed = RecognizeParams(
        "update T  set A = :A,\r\n  B = ?b.c -- :no\r\n where N = 'x:y' /* ?no */ and K = :\"Key\"",
        "qry");
    EXPECT_EQ(processed.Text, "update T set A = ?, B = ? where N = 'x:y' and K = ?");
    EXPECT_EQ(processed.ParamNames, (std::vector<std::string>{"A", "b.c", "Key"}));
}

// Firebird's q'<delimiter>...' strings hold apostrophes and colons as they stand.
TEST(RecognizeParams, AlternativeQuotingKeepsItsApostrophesAndColons) {
    const std::string unmarked = "select q'{it's 10:30}' from T where B = 'x:y'";
    EXPECT_EQ(RecognizeParams(unmarked, "qry").Text, unmarked);
    const TProcessedSQL processed = RecognizeParams(
        "select Q'(a:b)', q'!it's!', q'<'>' from T where A = :A and B = 'x:y' and C = q'[:]'",
        "qry");
    EXPECT_EQ(processed.Text,
              "select Q'(a:b)', q'!it's!', q'<'>' from T where A = ? and B = 'x:y' and C = q'[:]'");
    EXPECT_EQ(processed.ParamNames, (std::vector<std::string>{"A"}));
    // A name ending in q is no such string.
    EXPECT_EQ(RecognizeParams("select seq'{:x}' from T", "qry").ParamNames,
              (std::vector<std::string>{}));
}

TEST(RecognizeParams, DataDefinitionTexts) {
    EXPECT_TRUE(IsDataDefinitionText("  alter table T add S timestamp"));
    EXPECT_TRUE(IsDataDefinitionText("CREATE PROCEDURE P AS BEGIN END"));
    EXPECT_TRUE(IsDataDefinitionText("drop table T"));
    EXPECT_FALSE(IsDataDefinitionText("update T set S = null"));
    EXPECT_FALSE(IsDataDefinitionText("alternative"));
}

} // namespace gravlink::test
