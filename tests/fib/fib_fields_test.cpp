#include "fib/fib_fields.h"
#include "fib/fib_variant.h"
#include "fib/record_cache.h"
#include "fib/record_layout.h"
#include "support/date_time_value.h"
#include "support/text_format_settings.h"
#include "tests/fib/fib_fixture.h"
#include "tests/fixtures/regional_settings.h"

#include <cstring>
#include <gtest/gtest.h>

namespace gravlink {

namespace {

// A column as the server describes it.
XSQLVAR Column(short type, short scale = 0, short length = 4, short subType = 0) {
    XSQLVAR column;
    std::memset(&column, 0, sizeof column);
    column.sqltype = static_cast<short>(type | 1);
    column.sqlscale = scale;
    column.sqllen = length;
    column.sqlsubtype = subType;
    return column;
}

// One field over one row of data, as the data set shows its current row.
class OneRow : public IFieldDataSource {
public:
    OneRow(const XSQLVAR& column, TFieldData data, bool booleanDomain = false)
        : FData(std::move(data)) {
        TFieldDef def;
        EXPECT_TRUE(FieldDefOfColumn(column, "F", booleanDomain, def));
        Field = CreateField(def, 0);
        Field->Bind(this);
        Field->ApplyDefaultFormats(Formats());
    }
    const TFieldData* ActiveFieldData(int index) const override {
        return index == 0 ? &FData : nullptr;
    }
    static TDefaultFormats Formats() {
        TDefaultFormats formats;
        formats.DateTimeDisplayFormat = "dd.mm.yyyy hh:mm";
        return formats;
    }

    std::unique_ptr<TField> Field;

private:
    TFieldData FData;
};

class FieldTest : public testing::Test {
protected:
    FieldTest() {
        test::UseRussianDateTimes('.');
        TextFormatSettings.ThousandSeparatorChar = ',';
    }

private:
    TextFormatSettingsGuard FGuard;
};

TEST_F(FieldTest, ClassPatternValueAndTextByColumnType) {
    const TDateTime stamp = EncodeDateTime(2024, 12, 8, 14, 5, 59, 0);
    struct Case {
        const char* Column;
        XSQLVAR Description;
        TFieldData Data;
        bool BooleanDomain;
        TFieldType Type;
        const char* Pattern;
        TVariant Value;
        const char* Text;
    };
    const Case cases[] = {
        {"CHAR(10)", Column(SQL_TEXT, 0, 10), std::string("abc"), false, ftString, "",
         TVariant("abc"), "abc"},
        {"SMALLINT", Column(SQL_SHORT, 0, 2), int32_t(-7), false, ftSmallint, "",
         TVariant(int32_t(-7)), "-7"},
        {"INTEGER", Column(SQL_LONG), int32_t(1234567), false, ftInteger, "",
         TVariant(int32_t(1234567)), "1234567"},
        {"SMALLINT in a boolean domain, 1", Column(SQL_SHORT, 0, 2), int32_t(1), true, ftBoolean,
         "", TVariant(int32_t(1)), "True"},
        {"INTEGER in a boolean domain, 2", Column(SQL_LONG), int32_t(2), true, ftBoolean, "",
         TVariant(int32_t(2)), "False"},
        {"NUMERIC(9,2) as INTEGER", Column(SQL_LONG, -2), 1234.5, false, ftFloat, "#,##0.00",
         TVariant(1234.5), "1,234.50"},
        {"NUMERIC(4,1) as SMALLINT in a boolean domain", Column(SQL_SHORT, -1, 2), 2.5, true,
         ftFloat, "#,##0.0", TVariant(2.5), "2.5"},
        {"DOUBLE PRECISION", Column(SQL_DOUBLE, 0, 8), 0.1, false, ftFloat, "", TVariant(0.1),
         "0.1"},
        {"FLOAT", Column(SQL_FLOAT), double(0.1f), false, ftFloat, "", TVariant(double(0.1f)),
         "0.100000001490116"},
        {"BIGINT", Column(SQL_INT64, 0, 8), int64_t(9007199254740993), false, ftBCD, "",
         TVariant(int64_t(9007199254740993)), "9007199254740993"},
        {"NUMERIC(15,2)", Column(SQL_INT64, -2, 8), int64_t(123450), false, ftBCD, "#,##0.00",
         TVariant(1234.5), "1,234.50"},
        {"NUMERIC(18,4)", Column(SQL_INT64, -4, 8), int64_t(-5), false, ftBCD, "#,##0.0000",
         TVariant(-0.0005), "-0.0005"},
        {"TIMESTAMP", Column(SQL_TIMESTAMP, 0, 8), stamp, false, ftDateTime, "dd.mm.yyyy hh:mm",
         TVariant::FromDateTime(stamp), "08.12.2024 14:05"},
        {"DATE", Column(SQL_TYPE_DATE), DatePart(stamp), false, ftDate, "dd.mm.yyyy",
         TVariant::FromDateTime(DatePart(stamp)), "08.12.2024"},
        {"TIME", Column(SQL_TYPE_TIME), TimeOfDay(stamp), false, ftTime, "hh:mm AMPM",
         TVariant::FromDateTime(TimeOfDay(stamp)), "02:05 pm"},
        {"BOOLEAN", Column(SQL_BOOLEAN, 0, 1), int32_t(1), false, ftBoolean, "",
         TVariant(int32_t(1)), "True"},
        {"BLOB SUB_TYPE TEXT", Column(SQL_BLOB, 0, 8, 1), ISC_QUAD{1, 2}, false, ftMemo, "",
         TVariant(), "(MEMO)"},
        {"BLOB", Column(SQL_BLOB, 0, 8), ISC_QUAD{1, 2}, false, ftBlob, "", TVariant(), "(BLOB)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Column);
        OneRow row(c.Description, c.Data, c.BooleanDomain);
        EXPECT_EQ(row.Field->DataType(), c.Type);
        EXPECT_EQ(row.Field->DisplayFormat(), c.Pattern);
        EXPECT_EQ(row.Field->AsVariant(), c.Value);
        EXPECT_EQ(row.Field->DisplayText(), c.Text);
    }
}

TEST_F(FieldTest, NullShowsEmptyAndQuadHasNoField) {
    OneRow row(Column(SQL_TIMESTAMP, 0, 8), TFieldData{});
    EXPECT_TRUE(row.Field->IsNull());
    EXPECT_EQ(row.Field->DisplayText(), "");
    EXPECT_TRUE(row.Field->AsVariant().IsNull());

    TFieldDef def;
    EXPECT_FALSE(FieldDefOfColumn(Column(SQL_QUAD, 0, 8), "Q", false, def));
    EXPECT_FALSE(FieldDefOfColumn(Column(SQL_D_FLOAT, 0, 8), "D", false, def));
}

TEST_F(FieldTest, WithoutInt64ToBCDOnlySmallScalesStayExact) {
    TFieldDef def;
    ASSERT_TRUE(FieldDefOfColumn(Column(SQL_INT64, -4, 8), "N", false, def, false));
    EXPECT_EQ(def.DataType, ftBCD);
    ASSERT_TRUE(FieldDefOfColumn(Column(SQL_INT64, -5, 8), "N", false, def, false));
    EXPECT_EQ(def.DataType, ftFloat);
    ASSERT_TRUE(FieldDefOfColumn(Column(SQL_INT64, -5, 8), "N", false, def, true));
    EXPECT_EQ(def.DataType, ftBCD);
    EXPECT_EQ(def.Size, 5);
}

TEST_F(FieldTest, AFieldKeepsItsOwnPattern) {
    OneRow row(Column(SQL_INT64, -2, 8), int64_t(123456));
    row.Field->SetDisplayFormat("0.0");
    row.Field->ApplyDefaultFormats(OneRow::Formats());
    EXPECT_EQ(row.Field->DisplayFormat(), "0.0");
    EXPECT_EQ(row.Field->DisplayText(), "1234.6");
}

TEST(BooleanDomain, WordAnywhereInAnyCase) {
    EXPECT_TRUE(IsBooleanDomain("BOOLEAN"));
    EXPECT_TRUE(IsBooleanDomain("D_Boolean_Flag"));
    EXPECT_TRUE(IsBooleanDomain("TBOOLEAN"));
    EXPECT_FALSE(IsBooleanDomain("BOOL"));
    EXPECT_FALSE(IsBooleanDomain("RDB$123"));
    EXPECT_FALSE(IsBooleanDomain(""));
}

TEST(WidenNumericPattern, ByTheCharacterAfterThePoint) {
    EXPECT_EQ(WidenNumericPattern("#,##0.", 2), "#,##0.00");
    EXPECT_EQ(WidenNumericPattern("#,##0.", 0), "#,##0.");
    EXPECT_EQ(WidenNumericPattern("0.#", 3), "0.###");
    EXPECT_EQ(WidenNumericPattern("0.00", 3), "0.00");
    EXPECT_EQ(WidenNumericPattern("#,##0", 2), "#,##0");
}

TEST(Variant, TextAndFailedConversions) {
    EXPECT_EQ(TVariant(int32_t(42)).AsString(), "42");
    EXPECT_EQ(TVariant(int64_t(-9223372036854775807LL - 1)).AsString(), "-9223372036854775808");
    EXPECT_EQ(TVariant("x").AsString(), "x");
    {
        TextFormatSettingsGuard guard;
        TextFormatSettings.DecimalPoint = ',';
        EXPECT_EQ(TVariant(1234.5).AsString(), "1234,5");
    }
    try {
        (void)TVariant().AsString();
        FAIL() << "null converted to text";
    } catch (const EVariantTypeCastError& failure) {
        EXPECT_STREQ(failure.what(), "Could not convert variant of type (Null) into type (String)");
    }
    EXPECT_THROW((void)TVariant("1").AsInteger(), EVariantTypeCastError);
    EXPECT_EQ(TVariant(int32_t(5)).AsInt64(), 5);
}

TEST(RecordCache, PacksRowsIntoBlocksAndKeepsThemInPlace) {
    TRecordCache cache;
    EXPECT_EQ(cache.Capacity(), 0u);
    cache.Append("first");
    const char* first = cache[0];
    EXPECT_EQ(cache.Capacity(), TRecordCache::BlockSize);
    // Enough rows for several blocks, one row larger than a block among them.
    const std::string row(1000, 'r');
    for (int i = 0; i < 1000; ++i)
        cache.Append(row);
    cache.Append(std::string(TRecordCache::BlockSize + 1, 'x'));
    cache.Append("last");
    EXPECT_EQ(cache.Count(), 1003u);
    EXPECT_GT(cache.Capacity(), 4 * TRecordCache::BlockSize);
    EXPECT_EQ(cache[0], first) << "a cached row moved when the cache grew";
    EXPECT_EQ(std::string(cache[0], 5), "first");
    EXPECT_EQ(std::string(cache[1000], 1000), row);
    EXPECT_EQ(cache[1001][TRecordCache::BlockSize], 'x');
    EXPECT_EQ(std::string(cache[1002], 4), "last");
    cache.Clear();
    EXPECT_EQ(cache.Count(), 0u);
    EXPECT_EQ(cache.Capacity(), 0u);
}

// Every kind of value comes back as it went in, nulls between them taking no room.
TEST(RecordLayout, ReadsBackEachValueAndEachNull) {
    using TKind = TRecordLayout::TKind;
    const TRecordLayout layout({TKind::Text, TKind::Int32, TKind::Text, TKind::Int64, TKind::Double,
                                TKind::Quad, TKind::Int32, TKind::Text, TKind::Double});
    std::string row;
    layout.Begin(row);
    size_t place = TRecordLayout::BeginText(row);
    row += "abc";
    TRecordLayout::EndText(row, place);
    TRecordLayout::AppendInt32(row, -7);
    TRecordLayout::SetNull(row, 2);
    TRecordLayout::AppendInt64(row, 123456789012345LL);
    TRecordLayout::AppendDouble(row, 1234.5);
    TRecordLayout::AppendQuad(row, ISC_QUAD{1, 2});
    TRecordLayout::SetNull(row, 6);
    place = TRecordLayout::BeginText(row);
    TRecordLayout::EndText(row, place); // an empty text is not null
    TRecordLayout::AppendDouble(row, -0.25);
    // Flags, then 2 + 3, 4, 8, 8, 8, 2 and 8 bytes.
    EXPECT_EQ(row.size(), 2u + 5 + 4 + 8 + 8 + 8 + 2 + 8);

    const char* bytes = row.data();
    EXPECT_EQ(std::get<std::string>(layout.Read(bytes, 0)), "abc");
    EXPECT_EQ(std::get<int32_t>(layout.Read(bytes, 1)), -7);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(layout.Read(bytes, 2)));
    EXPECT_EQ(std::get<int64_t>(layout.Read(bytes, 3)), 123456789012345LL);
    EXPECT_EQ(std::get<double>(layout.Read(bytes, 4)), 1234.5);
    EXPECT_EQ(std::get<ISC_QUAD>(layout.Read(bytes, 5)).gds_quad_low, 2u);
    EXPECT_TRUE(layout.IsNull(bytes, 6));
    EXPECT_EQ(std::get<std::string>(layout.Read(bytes, 7)), "");
    EXPECT_EQ(std::get<double>(layout.Read(bytes, 8)), -0.25);
}

} // namespace
} // namespace gravlink
