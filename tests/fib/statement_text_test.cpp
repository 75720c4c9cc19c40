#include "fib/fib_error.h"
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

// Firebird 3's q'<delimiter>...<delimiter>' literals hold quotes and markers as text.
TEST(RecognizeParams, AlternativeQuoteLiteralsAreText) {
    struct Case {
        const char* Text;
        const char* Processed;
        std::vector<std::string> Names;
    };
    const Case cases[] = {
        {"select q'{it's :no}' from T where A = :a",
         "select q'{it's :no}' from T where A = ?",
         {"a"}},
        {"select Q'(a ?no)', q'[b]', q'<c>', q'!d:e!' from T where B = :b",
         "select Q'(a ?no)', q'[b]', q'<c>', q'!d:e!' from T where B = ?",
         {"b"}},
        {"select q'<'>', q'!it's!' from T where A = :A and B = 'x:y' and C = q'[:]'",
         "select q'<'>', q'!it's!' from T where A = ? and B = 'x:y' and C = q'[:]'",
         {"A"}},
        // Without a marker outside it, the text goes unchanged.
        {"select q'{:x}'  from T", "select q'{:x}'  from T", {}},
        // A name ending in q is no such literal.
        {"select seq'x' from T where C = :c", "select seq'x' from T where C = ?", {"c"}},
        {"select seq'{:x}' from T", "select seq'{:x}' from T", {}},
    };
    for (const Case& c : cases) {
        const TProcessedSQL processed = RecognizeParams(c.Text, "qry");
        EXPECT_EQ(processed.Text, c.Processed) << c.Text;
        EXPECT_EQ(processed.ParamNames, c.Names) << c.Text;
    }
    EXPECT_THROW(RecognizeParams("select :a, q'{x}from T", "qry"), EFIBClientError);
}

TEST(RecognizeParams, DataDefinitionTexts) {
    EXPECT_TRUE(IsDataDefinitionText("  alter table T add S timestamp"));
    EXPECT_TRUE(IsDataDefinitionText("CREATE PROCEDURE P AS BEGIN END"));
    EXPECT_TRUE(IsDataDefinitionText("drop table T"));
    EXPECT_FALSE(IsDataDefinitionText("update T set S = null"));
    EXPECT_FALSE(IsDataDefinitionText("alternative"));
}

} // namespace gravlink::test
