#include "fib/fib_dataset.h"
#include "fib/fib_error.h"
#include "support/date_time_value.h"
#include "support/text_format_settings.h"
#include "tests/fib/fib_fixture.h"
#include "tests/fixtures/regional_settings.h"

#include <gtest/gtest.h>

namespace gravlink::test {

namespace {

// A million rows without storing them: two ranges of a thousand, crossed.
const char* const MillionRows =
    "with recursive D(N) as (select 0 from RDB$DATABASE union all select N + 1 from D "
    "where N < 999) "
    "select cast(A.N * 1000 + B.N as integer) as IDR from D A cross join D B";

// Counts what a view of the data set is told.
class EventLog : public IDataSetLink {
public:
    void DataSetChanged(TFIBCustomDataSet& dataSet, TDataSetEvent event) override {
        Events.push_back(event);
        if (event == deClosing)
            FieldsAtClosing = dataSet.FieldCount();
    }
    std::vector<TDataSetEvent> Events;
    int FieldsAtClosing = -1;
};

} // namespace

// dstStat as the main window sets it up, over a table with one column of each kind.
class DataSet : public ::testing::Test {
protected:
    DataSet() {
        test::UseRussianDateTimes('.');
        TextFormatSettings.ThousandSeparatorChar = ',';
        database.Isql(
            "create domain D_BOOLEAN as smallint;"
            "create table T (IDR integer not null primary key, NAME char(10), NOTE varchar(10),"
            " STAMP timestamp, AMOUNT numeric(15,2), BIG bigint, FLAG D_BOOLEAN, QTY smallint,"
            " PRICE numeric(9,2), RATE double precision, DAY_ date, TIME_ time,"
            " MEMO blob sub_type text, YES boolean default true);"
            "insert into T values (42, 'abc', 'x  ', '2024-12-08 14:05:59.1239', 1234.5,"
            " 9007199254740993, 1, -7, 12.3, 0.1, '2024-12-08', '14:05:59', 'memo', true);"
            "insert into T (IDR, FLAG) values (43, 0);"
            "insert into T (IDR, YES) values (44, null);");
        objects.dbsGrav.SetDBName(database.File());
        objects.dbsGrav.Open();
        dstStat.SetDatabase(&objects.dbsGrav);
        dstStat.SetTransaction(&objects.trnEdit);
        dstStat.SetPrepareOptions(DefaultPrepareOptions | psSQLINT64ToBCD);
        dstStat.DefaultFormats().DateTimeDisplayFormat = "dd.mm.yyyy hh:mm";
    }

    void OpenWith(const std::string& sql) {
        dstStat.Close();
        dstStat.SetSelectSQL(sql);
        dstStat.Open();
    }

    TextFormatSettingsGuard guard;
    TestDatabase database;
    MainWindowObjects objects;
    TpFIBDataSet dstStat{&objects.frmMain, "dstStat"};
};

TEST_F(DataSet, AMillionRowsOpenWithoutBeingFetched) {
    EventLog view;
    dstStat.AddDataLink(&view);
    EXPECT_FALSE(objects.trnEdit.Active());
    OpenWith(MillionRows);
    EXPECT_TRUE(objects.trnEdit.Active()) << "opening did not start the transaction";
    EXPECT_TRUE(dstStat.Active());
    EXPECT_EQ(dstStat.FetchCount(), 1);
    EXPECT_EQ(dstStat.RecordCount(), 1);
    EXPECT_EQ(dstStat.CurrentRow(), 0);
    EXPECT_EQ(dstStat.FieldValue("IDR"), TVariant(int32_t(0)));

    // Forward fetches one row per new row; backward and revisits use the cache.
    EXPECT_TRUE(dstStat.MoveTo(99));
    EXPECT_EQ(dstStat.FetchCount(), 100);
    EXPECT_EQ(dstStat.FieldValue("IDR"), TVariant(int32_t(99)));
    dstStat.Prior();
    EXPECT_TRUE(dstStat.MoveTo(10));
    dstStat.First();
    dstStat.Next();
    EXPECT_EQ(dstStat.FieldValue("IDR"), TVariant(int32_t(1)));
    EXPECT_EQ(dstStat.FetchCount(), 100);
    EXPECT_EQ(dstStat.FetchMore(28), 28);
    EXPECT_EQ(dstStat.RecordCount(), 128);
    EXPECT_EQ(dstStat.CurrentRow(), 1);
    EXPECT_FALSE(dstStat.AllFetched());

    // A commit of trnEdit closes the view before the transaction ends.
    objects.trnEdit.Commit();
    EXPECT_FALSE(dstStat.Active());
    EXPECT_EQ(dstStat.FieldCount(), 0);
    EXPECT_EQ(dstStat.RecordCount(), 0);
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { dstStat.FieldValue("IDR"); }),
              "dstStat: Field 'IDR' not found");
    EXPECT_EQ(view.FieldsAtClosing, 1) << "the view was told after the fields went";
    EXPECT_EQ(view.Events.back(), deClosed);
    dstStat.RemoveDataLink(&view);

    // Opening again restarts the transaction and starts at the first row, still prepared.
    EXPECT_TRUE(dstStat.Prepared());
    dstStat.Open();
    EXPECT_TRUE(objects.trnEdit.Active());
    EXPECT_EQ(dstStat.FetchCount(), 1);
    EXPECT_EQ(dstStat.FieldValue("idr"), TVariant(int32_t(0)));
}

TEST_F(DataSet, ValuesAndDisplayTextsByFieldType) {
    OpenWith("select * from T order by IDR");
    const TDateTime stamp = EncodeDateTime(2024, 12, 8, 14, 5, 59, 123);
    struct Case {
        const char* Field;
        TFieldType Type;
        TVariant Value;
        const char* Text;
    };
    const Case cases[] = {
        {"IDR", ftInteger, TVariant(int32_t(42)), "42"},
        {"NAME", ftString, TVariant("abc"), "abc"},
        {"NOTE", ftString, TVariant("x"), "x"},
        {"STAMP", ftDateTime, TVariant::FromDateTime(stamp), "08.12.2024 14:05"},
        {"AMOUNT", ftBCD, TVariant(1234.5), "1,234.50"},
        {"BIG", ftBCD, TVariant(int64_t(9007199254740993)), "9007199254740993"},
        {"FLAG", ftBoolean, TVariant(int32_t(1)), "True"},
        {"QTY", ftSmallint, TVariant(int32_t(-7)), "-7"},
        {"PRICE", ftFloat, TVariant(12.3), "12.30"},
        {"RATE", ftFloat, TVariant(0.1), "0.1"},
        {"DAY_", ftDate, TVariant::FromDateTime(DatePart(stamp)), "08.12.2024"},
        {"TIME_", ftTime, TVariant::FromDateTime(EncodeTime(14, 5, 59, 0)), "02:05 pm"},
        {"MEMO", ftMemo, TVariant(), "(MEMO)"},
        {"YES", ftBoolean, TVariant(int32_t(1)), "True"},
    };
    ASSERT_EQ(dstStat.FieldCount(), static_cast<int>(std::size(cases)));
    for (int i = 0; i < dstStat.FieldCount(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.Field);
        const TField& field = dstStat.Fields(i);
        EXPECT_EQ(field.FieldName(), c.Field);
        EXPECT_EQ(field.DisplayLabel(), c.Field);
        EXPECT_EQ(field.DataType(), c.Type);
        EXPECT_EQ(dstStat.FieldValue(c.Field), c.Value);
        EXPECT_EQ(field.DisplayText(), c.Text);
        EXPECT_EQ(dstStat.DisplayTextAt(0, i), c.Text);
    }
    EXPECT_EQ(dstStat.FieldByName("NAME").Size(), 10);
    EXPECT_EQ(dstStat.FieldByName("AMOUNT").Size(), 2);
    EXPECT_EQ(dstStat.FieldByName("YES").DefaultExpression(), "default true");

    // The next rows: a boolean domain holding 0, and nulls, which show as nothing.
    dstStat.Next();
    EXPECT_EQ(dstStat.FieldByName("FLAG").DisplayText(), "False");
    dstStat.Next();
    EXPECT_TRUE(dstStat.FieldValue("STAMP").IsNull());
    for (int i = 1; i < dstStat.FieldCount(); ++i)
        EXPECT_EQ(dstStat.Fields(i).DisplayText(), "") << dstStat.Fields(i).FieldName();
    EXPECT_EQ(MessageOf<EVariantTypeCastError>([&] { dstStat.FieldValue("FLAG").AsString(); }),
              "Could not convert variant of type (Null) into type (String)");
}

TEST_F(DataSet, StampsBeforeTheDayZeroKeepTheirTimeOfDay) {
    OpenWith("select cast('1899-12-29 06:00:00' as timestamp) as OLD_STAMP,"
             " cast('1899-12-30 06:00:00' as timestamp) as ZERO_DAY from RDB$DATABASE");
    EXPECT_EQ(dstStat.FieldValue("OLD_STAMP"),
              TVariant::FromDateTime(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0)));
    EXPECT_EQ(dstStat.Fields(0).DisplayText(), "29.12.1899 06:00");
    EXPECT_EQ(dstStat.Fields(1).DisplayText(), "30.12.1899 06:00");
}

TEST_F(DataSet, WithoutBooleanFieldsTheDomainIsJustANumber) {
    dstStat.SetPrepareOptions(psSQLINT64ToBCD);
    OpenWith("select FLAG from T order by IDR");
    EXPECT_EQ(dstStat.Fields(0).DataType(), ftSmallint);
    EXPECT_EQ(dstStat.Fields(0).DisplayText(), "1");
}

TEST_F(DataSet, UntrimmedStringsKeepTheirBlanks) {
    dstStat.SetOptions(DefaultDataSetOptions & ~poTrimCharFields);
    OpenWith("select NAME, NOTE from T where IDR = 42");
    EXPECT_EQ(dstStat.FieldValue("NAME"), TVariant("abc       "));
    EXPECT_EQ(dstStat.Fields(1).DisplayText(), "x  ");
}

TEST_F(DataSet, OutlivesTheConnectionItShows) {
    auto objects = std::make_unique<MainWindowObjects>();
    objects->dbsGrav.SetDBName(database.File());
    objects->dbsGrav.Open();
    TpFIBDataSet view{nullptr, "view"};
    view.SetDatabase(&objects->dbsGrav);
    view.SetSelectSQL("select IDR from T");
    view.Open();
    objects.reset();
    EXPECT_FALSE(view.Active());
    EXPECT_EQ(view.Database(), nullptr);
    EXPECT_EQ(view.Transaction(), nullptr);
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { view.Open(); }), "Database not assigned for view.");
}

TEST_F(DataSet, CursorWalksToTheEnd) {
    OpenWith("select IDR from T order by IDR");
    EXPECT_TRUE(dstStat.Bof());
    std::vector<std::string> seen;
    while (!dstStat.Eof()) {
        seen.push_back(dstStat.FieldValue("IDR").AsString());
        dstStat.Next();
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"42", "43", "44"}));
    EXPECT_TRUE(dstStat.AllFetched());
    EXPECT_EQ(dstStat.CurrentRow(), 2) << "the cursor left the last row at the end";
    EXPECT_FALSE(dstStat.MoveTo(3));
    EXPECT_EQ(dstStat.CurrentRow(), 2);
    dstStat.First();
    EXPECT_FALSE(dstStat.Eof());
    dstStat.Last();
    EXPECT_TRUE(dstStat.Eof());
    EXPECT_EQ(dstStat.FieldValue("IDR"), TVariant(int32_t(44)));
    EXPECT_EQ(dstStat.FetchCount(), 4) << "the end of the cursor is asked once";
}

TEST_F(DataSet, AnEmptySelectIsOpenWithNullValues) {
    OpenWith("select IDR, NAME from T where IDR < 0");
    EXPECT_TRUE(dstStat.Active());
    EXPECT_TRUE(dstStat.IsEmpty());
    EXPECT_TRUE(dstStat.Eof());
    EXPECT_EQ(dstStat.CurrentRow(), -1);
    EXPECT_EQ(dstStat.FieldCount(), 2);
    EXPECT_TRUE(dstStat.FieldValue("IDR").IsNull());
    EXPECT_EQ(dstStat.Fields(1).DisplayText(), "");
    dstStat.Next();
    dstStat.Last();
    EXPECT_EQ(dstStat.CurrentRow(), -1);
}

TEST_F(DataSet, DuplicateColumnsAreNumberedAndTheFirstIsRead) {
    OpenWith("select IDR, IDR * 2 as IDR, NAME from T where IDR = 42");
    ASSERT_EQ(dstStat.FieldCount(), 3);
    EXPECT_EQ(dstStat.Fields(0).FieldName(), "IDR");
    EXPECT_EQ(dstStat.Fields(1).FieldName(), "IDR1");
    EXPECT_EQ(dstStat.FieldValue("idr"), TVariant(int32_t(42)));
    // A product of integers is a BIGINT in dialect 3.
    EXPECT_EQ(dstStat.FieldValue("Idr1"), TVariant(int64_t(84)));
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { dstStat.FieldValue("IDR2"); }),
              "dstStat: Field 'IDR2' not found");
}

TEST_F(DataSet, FailuresLeaveItClosed) {
    struct Case {
        const char* Sql;
        const char* Message;
    };
    const Case cases[] = {
        {"", "Can't Prepare frmMain.dstStat , because  query is empty"},
        {"  \r\n \r\n", "Can't Prepare frmMain.dstStat , because  query is empty"},
    };
    for (const Case& c : cases) {
        dstStat.SetSelectSQL(c.Sql);
        EXPECT_EQ(MessageOf<EFIBClientError>([&] { dstStat.Open(); }), c.Message);
        EXPECT_FALSE(dstStat.Active());
    }

    dstStat.SetSelectSQL("select NOSUCH from T");
    const std::string message = MessageOf<EFIBInterBaseError>([&] { dstStat.Open(); });
    EXPECT_EQ(message.rfind("frmMain.dstStat.SelectQuery:\r\n", 0), 0u) << message;
    EXPECT_FALSE(dstStat.Active());

    OpenWith("select IDR from T");
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { dstStat.SetSelectSQL("select 1 from T"); }),
              "Can't change sql text because frmMain.dstStat.SelectQuery dataset open.");
    EXPECT_TRUE(dstStat.Active());

    TpFIBDataSet loose{&objects.frmMain, "loose"};
    loose.SetSelectSQL("select IDR from T");
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { loose.Open(); }),
              "Database not assigned for frmMain.loose.");
}

TEST_F(DataSet, TransactionAndConnectionEndsCloseIt) {
    objects.trnEdit.StartTransaction();
    const isc_tr_handle handle = objects.trnEdit.HandleValue();
    OpenWith("select IDR from T");
    EXPECT_EQ(objects.trnEdit.HandleValue(), handle) << "an active transaction was restarted";

    objects.trnEdit.CommitRetaining();
    EXPECT_TRUE(dstStat.Active()) << "a retaining commit closed the view";
    dstStat.Next();
    EXPECT_EQ(dstStat.FieldValue("IDR"), TVariant(int32_t(43)));

    objects.trnEdit.Rollback();
    EXPECT_FALSE(dstStat.Active());

    dstStat.Open();
    objects.dbsGrav.Close();
    EXPECT_FALSE(dstStat.Active());
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { dstStat.Open(); }),
              "frmMain.dbsGrav: Cannot perform operation -- DB is not open.");
    objects.dbsGrav.Open();
    dstStat.Open();
    EXPECT_EQ(dstStat.FieldValue("IDR"), TVariant(int32_t(42)));
}

} // namespace gravlink::test
