#include "fib/fib_error.h"
#include "fib/fib_query.h"
#include "support/code_page.h"
#include "support/text_format_settings.h"
#include "tests/fib/fib_fixture.h"

#include <gtest/gtest.h>

namespace gravlink::test {

namespace {

// Fixed patterns and a "." so that no text depends on the machine's locale.
TFormatSettings FixedSettings() {
    TFormatSettings settings;
    settings.ShortDatePattern = "dd.mm.yyyy";
    settings.LongTimePattern = "hh:nn:ss.zzz";
    settings.DateSeparatorChar = '.';
    settings.TimeSeparatorChar = ':';
    settings.DecimalPoint = '.';
    return settings;
}

struct ColumnCase {
    const char* Definition;
    const char* Stored;
    const char* Text;
    const char* Trimmed; // through qoTrimCharFields
};

const ColumnCase ColumnCases[] = {
    {"char(10)", "'abc'", "abc       ", "abc"},
    {"varchar(10)", "'abc  '", "abc  ", "abc"},
    {"numeric(15,2)", "12345.67", "12345.67", "12345.67"},
    {"numeric(15,2)", "12", "12", "12"},
    {"numeric(15,2)", "-0.03", "-0.03", "-0.03"},
    {"numeric(15,2)", "0", "0", "0"},
    {"numeric(18,3)", "0.007", "0.007", "0.007"},
    {"numeric(9,2)", "123", "123", "123"},
    {"numeric(9,2)", "123.45", "123.45", "123.45"},
    {"smallint", "7", "7", "7"},
    {"integer", "-2147483648", "-2147483648", "-2147483648"},
    {"float", "0.1", "0.100000001490116", "0.100000001490116"},
    {"double precision", "1e0/3", "0.333333333333333", "0.333333333333333"},
    {"bigint", "9223372036854775807", "9223372036854775807", "9223372036854775807"},
    {"bigint", "-9223372036854775807 - 1", "-9223372036854775808", "-9223372036854775808"},
    {"date", "'2007-04-09'", "09.04.2007", "09.04.2007"},
    {"date", "'1899-12-30'", "30.12.1899", "30.12.1899"},
    {"time", "'14:05:03.4560'", "14:05:03.456", "14:05:03.456"},
    {"timestamp", "'2007-04-09 00:00:00'", "09.04.2007", "09.04.2007"},
    {"timestamp", "'2007-04-09 14:05:03'", "09.04.2007 14:05:03.000", "09.04.2007 14:05:03.000"},
    {"blob sub_type 1", "'line 1' || ascii_char(13) || ascii_char(10) || 'line 2 '",
     "line 1\r\nline 2 ", "line 1\r\nline 2 "},
    {"blob sub_type 0", "''", "", ""},
    {"boolean", "true", "True", "True"},
    {"boolean", "false", "False", "False"},
    {"integer[3]", "null", "", ""},
    {"varchar(10)", "null", "", ""},
    {"timestamp", "'1899-12-29 06:00:00'", "29.12.1899 06:00:00.000", "29.12.1899 06:00:00.000"},
    {"timestamp", "'1899-12-30 06:00:00'", "30.12.1899 06:00:00.000", "30.12.1899 06:00:00.000"},
};

} // namespace

// A table with one column per case, one row holding every stored value.
class ColumnText : public ::testing::Test {
protected:
    ColumnText() {
        std::string columns;
        std::string values;
        for (size_t i = 0; i < std::size(ColumnCases); ++i) {
            columns += (i ? ", C" : "C") + std::to_string(i) + " " + ColumnCases[i].Definition;
            values += (i ? ", " : "") + std::string(ColumnCases[i].Stored);
        }
        database.Isql("create table V (" + columns +
                      "); commit;"
                      "insert into V values (" +
                      values +
                      ");"
                      "insert into V (C0) values (null);");
        objects.dbsGrav.SetDBName(database.File());
        objects.dbsGrav.Open();
        qryDBCheck.SetDatabase(&objects.dbsGrav);
        objects.trnEdit.StartTransaction();
    }

    TextFormatSettingsGuard settings{FixedSettings()};
    TestDatabase database;
    MainWindowObjects objects;
    TpFIBQuery qryDBCheck{&objects.frmMain, "qryDBCheck"};
};

TEST_F(ColumnText, EveryTypeReadsAsItsText) {
    for (TpFIBQueryOptions options : {0u, unsigned{qoTrimCharFields}}) {
        qryDBCheck.Close();
        qryDBCheck.SetOptions(options);
        qryDBCheck.SetSQL("select * from V where C0 is not null");
        qryDBCheck.ExecQuery();
        ASSERT_EQ(qryDBCheck.FieldCount(), static_cast<int>(std::size(ColumnCases)));
        std::string line = "<";
        for (int i = 0; i < qryDBCheck.FieldCount(); ++i) {
            const ColumnCase& expected = ColumnCases[i];
            EXPECT_EQ(qryDBCheck.Fields(i).AsString(), options ? expected.Trimmed : expected.Text)
                << expected.Definition << " holding " << expected.Stored;
            qryDBCheck.Fields(i).AppendAsString(line);
        }
        EXPECT_EQ(line.rfind(options ? "<abcabc12345.67" : "<abc       abc  12345.67", 0), 0u)
            << "appending keeps what the buffer held";
    }
}

TEST_F(ColumnText, TypesAsTheDataSetSeesThem) {
    qryDBCheck.SetSQL("select C0, C1, C2, C7, C12, C22 from V");
    qryDBCheck.ExecQuery();
    const std::vector<std::tuple<short, short, short>> described = {
        {SQL_TEXT, 0, 10}, {SQL_VARYING, 0, 10}, {SQL_INT64, -2, 8},
        {SQL_LONG, -2, 4}, {SQL_DOUBLE, 0, 8},   {SQL_FB_BOOLEAN, 0, 1}};
    for (int i = 0; i < qryDBCheck.FieldCount(); ++i) {
        const TFIBXSQLVAR& field = qryDBCheck.Fields(i);
        EXPECT_EQ(std::make_tuple(field.SqlType(), field.SqlScale(), field.SqlLength()),
                  described[static_cast<size_t>(i)])
            << field.Name();
        EXPECT_TRUE(field.Nullable());
    }
    EXPECT_EQ(qryDBCheck.Fields(2).AsInt64(), 1234567);
    EXPECT_DOUBLE_EQ(qryDBCheck.Fields(3).AsDouble(), 123.0);
}

TEST_F(ColumnText, NullRowExportsAsSeparatorsOnly) {
    qryDBCheck.SetSQL("select C0, C15, C20 from V where C0 is null");
    qryDBCheck.ExecQuery();
    std::string line;
    for (int i = 0; i < qryDBCheck.FieldCount(); ++i) {
        qryDBCheck.Fields(i).AppendAsString(line);
        line += ';';
    }
    line.pop_back();
    EXPECT_EQ(line, ";;");
}

TEST_F(ColumnText, DecimalPointOfTheSettingsSeparatesScaledValues) {
    TextFormatSettings.DecimalPoint = ',';
    qryDBCheck.SetSQL("select C2, C8, C11 from V where C0 is not null");
    qryDBCheck.ExecQuery();
    EXPECT_EQ(qryDBCheck.Fields(0).AsString(), "12345,67");
    EXPECT_EQ(qryDBCheck.Fields(1).AsString(), "123,45");
    EXPECT_EQ(qryDBCheck.Fields(2).AsString(), "0,100000001490116");
}

TEST_F(ColumnText, BlobOutsideItsTransactionReadsAsPlaceholder) {
    qryDBCheck.SetSQL("select C20 from V where C0 is not null");
    qryDBCheck.ExecQuery();
    objects.trnEdit.Commit();
    EXPECT_EQ(qryDBCheck.Fields(0).AsString(), "(BLOB)");
    // With qoStartTransaction the read starts a transaction of its own; the id of the
    // BLOB still names the committed content.
    qryDBCheck.SetOptions(qoStartTransaction);
    EXPECT_EQ(qryDBCheck.Fields(0).AsString(), "line 1\r\nline 2 ");
    EXPECT_TRUE(objects.trnEdit.Active());
}

TEST_F(ColumnText, CyrillicTextRoundTrip) {
    const std::string word = Utf8ToWin1251("Весы №2 «Грузовые»");
    ASSERT_EQ(word.size(), 18u);
    qryDBCheck.SetSQL("update V set C1 = '" + word.substr(0, 10) + "' where C0 is not null");
    qryDBCheck.ExecQuery();
    qryDBCheck.SetSQL("update V set C20 = :TEXT where C0 is not null");
    qryDBCheck.Params(0).SetAsString(word);
    qryDBCheck.ExecQuery();
    objects.trnEdit.Commit();
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("select C1, C20, char_length(C20) from V where C0 is not null");
    qryDBCheck.ExecQuery();
    EXPECT_EQ(qryDBCheck.Fields(0).AsString(), word.substr(0, 10));
    EXPECT_EQ(qryDBCheck.Fields(1).AsString(), word);
    EXPECT_EQ(qryDBCheck.Fields(2).AsString(), "18") << "one byte per letter on the server";
}

TEST_F(ColumnText, LongTextParameterGoesAsBlob) {
    const std::string text(40000, 'x');
    qryDBCheck.SetSQL("update V set C20 = :TEXT where C0 is not null");
    qryDBCheck.Prepare();
    qryDBCheck.Params(0).SetAsString(text);
    EXPECT_EQ(qryDBCheck.Params(0).SqlType(), SQL_BLOB);
    EXPECT_EQ(qryDBCheck.Params(0).AsString(), "(BLOB)");
    qryDBCheck.ExecQuery();
    qryDBCheck.SetSQL("select C20 from V where C0 is not null");
    qryDBCheck.ExecQuery();
    EXPECT_EQ(qryDBCheck.Fields(0).AsString(), text);
}

} // namespace gravlink::test
