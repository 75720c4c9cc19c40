#include "fib/fib_query.h"
#include "fib/row_texts.h"
#include "support/text_format_settings.h"
#include "tests/fib/fib_fixture.h"

#include <gtest/gtest.h>

namespace gravlink::test {

namespace {

// Every column type with values that reach the edges of its text: nulls, signs,
// carries, trailing zeros, the days before 1899, midnight and noon.
struct ColumnValues {
    const char* Definition;
    std::vector<const char*> Stored; // one per row; rows beyond its list are null
};

const ColumnValues Columns[] = {
    {"char(6)", {"'abc'", "''", "'  x  '", "'x\ty'"}},
    {"varchar(12)", {"'abc  '", "''", "'wheat 3 '", "' '"}},
    {"smallint", {"-32768", "0", "32767", "7"}},
    {"integer", {"-2147483648", "0", "2147483647", "42"}},
    {"numeric(4,1)", {"-3276.8", "0", "0.5", "12.3"}},
    {"numeric(9,2)", {"11000.50", "-0.01", "0", "9999999.99"}},
    {"numeric(15,2)", {"31919.25", "-0.03", "12", "9999999999999.99"}},
    {"numeric(18,4)", {"0.0001", "-12.5", "0", "99999999999999.9999"}},
    {"numeric(18,18)", {"0.000000000000000001", "-0.5", "0", "0.1"}},
    {"bigint", {"9223372036854775807", "-9223372036854775807 - 1", "0", "-1"}},
    {"float", {"0.1", "-1e30", "0", "3.4e38"}},
    {"double precision",
     {"11.5e0 + 1e0/3", "1e0/3", "-1e-300", "123456789012345678e0", "0.00001e0",
      "999999999999999.9e0"}},
    {"date", {"'2026-01-01'", "'1899-12-30'", "'0001-01-01'", "'9999-12-31'"}},
    {"time", {"'06:00:17'", "'00:00:00'", "'12:00:00.5'", "'23:59:59.9999'"}},
    {"timestamp",
     {"'2026-01-02 00:00:00'", "'1899-12-29 06:00:00'", "'2026-01-01 12:30:05.1234'",
      "'9999-12-31 23:59:59.9995'", "'0001-01-01 00:00:00.0005'"}},
    {"boolean", {"true", "false"}},
    {"blob sub_type 1", {"'line 1' || ascii_char(13) || ascii_char(10) || 'line 2'", "''"}},
    {"integer[2]", {}},
};

// The site's settings, and ones that bring in every part of a date pattern and a
// separator that is written as nothing.
std::vector<TFormatSettings> SettingsCases() {
    TFormatSettings site;
    site.ShortDatePattern = "dd.mm.yyyy";
    site.LongTimePattern = "hh:nn:ss";
    site.DateSeparatorChar = '.';
    site.DecimalPoint = '.';
    TFormatSettings english; // the defaults: m/d/yy and a twelve-hour clock
    TFormatSettings names;
    names.ShortDatePattern = "dddd d mmmm yy 'г.' ddd mmm";
    names.LongTimePattern = "h:mm:ss.zzz am/pm a/p ampm c";
    names.DateSeparatorChar = '\0';
    names.DecimalPoint = ',';
    TFormatSettings noPoint;
    noPoint.ShortDatePattern = "";
    noPoint.LongTimePattern = "tt";
    noPoint.DecimalPoint = '\0';
    return {site, english, names, noPoint};
}

} // namespace

class RowTexts : public ::testing::Test {
protected:
    RowTexts() {
        std::string columns;
        size_t rows = 0;
        for (size_t i = 0; i < std::size(Columns); ++i) {
            columns += (i ? ", C" : "C") + std::to_string(i) + " " + Columns[i].Definition;
            rows = std::max(rows, Columns[i].Stored.size());
        }
        std::string inserts;
        for (size_t row = 0; row <= rows; ++row) {
            std::string values;
            for (size_t i = 0; i < std::size(Columns); ++i) {
                const auto& stored = Columns[i].Stored;
                values += (i ? ", " : "") + std::string(row < stored.size() ? stored[row] : "null");
            }
            inserts += "insert into V values (" + values + ");";
        }
        database.Isql("create table V (" + columns + "); commit;" + inserts);
        objects.dbsGrav.SetDBName(database.File());
        objects.dbsGrav.Open();
        qryDBCheck.SetDatabase(&objects.dbsGrav);
        objects.trnEdit.StartTransaction();
    }

    TestDatabase database;
    MainWindowObjects objects;
    TpFIBQuery qryDBCheck{&objects.frmMain, "qryDBCheck"};
};

TEST_F(RowTexts, LineHoldsEveryColumnsTextAsItReads) {
    for (const TFormatSettings& settings : SettingsCases()) {
        TextFormatSettingsGuard guard(settings);
        for (TpFIBQueryOptions options : {0u, unsigned{qoTrimCharFields}}) {
            qryDBCheck.Close();
            qryDBCheck.SetOptions(options);
            qryDBCheck.SetSQL("select * from V");
            qryDBCheck.ExecQuery();
            TRowTexts texts(qryDBCheck, ';', "\r\n");
            int rows = 0;
            while (!qryDBCheck.Eof()) {
                std::string expected;
                for (int i = 0; i < qryDBCheck.FieldCount(); ++i)
                    expected += (i ? ";" : "") + qryDBCheck.Fields(i).AsString();
                expected += "\r\n";
                EXPECT_EQ(texts.Line(), expected)
                    << "row " << rows << ", date pattern " << settings.ShortDatePattern
                    << ", options " << options;
                ++rows;
                qryDBCheck.Next();
            }
            EXPECT_EQ(rows, 7);
        }
    }
}

TEST_F(RowTexts, SeparatorAndEndAreTheCallers) {
    qryDBCheck.SetSQL("select * from V");
    qryDBCheck.ExecQuery();
    TRowTexts texts(qryDBCheck, '\t', "|");
    EXPECT_EQ(texts.Line().substr(0, 4), "abc ");
    EXPECT_EQ(texts.Line().back(), '|');
    EXPECT_EQ(texts.Line().find(';'), std::string_view::npos) << "the separator asked for";
}

} // namespace gravlink::test
