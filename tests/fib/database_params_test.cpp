#include "app/connection_credentials.h"
#include "fib/database_params.h"
#include "fib/fib_error.h"
#include "fib/integer_text.h"
#include "fib/transaction_params.h"
#include "tests/fib/fib_fixture.h"

#include <gtest/gtest.h>

namespace gravlink::test {

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string result;
    for (int b : bytes)
        result += static_cast<char>(b);
    return result;
}

std::string BlockOf(std::vector<std::string> lines) {
    TParamLines params;
    params.Assign(std::move(lines));
    return BuildDatabaseParamBlock(params);
}

} // namespace

// The program's lines when the environment names no user.
TEST(DatabaseParams, ProgramConnectionBlock) {
    const std::string expected =
        Bytes({1, 48, 7}) + "WIN1251" + Bytes({29, 9}) + "quillbark" + Bytes({28, 6}) + "SYSDBA";
    EXPECT_EQ(BlockOf(ConnectionParamLines(nullptr, nullptr)), expected);
}

TEST(DatabaseParams, ItemEncodingsByGroup) {
    struct Case {
        const char* Line;
        std::string Item;
    };
    const Case cases[] = {
        {"ISC_DPB_LC_CTYPE=WIN1251", Bytes({48, 7}) + "WIN1251"},
        {"sql_role_name=", Bytes({60, 0})},
        {"sql_dialect=3", Bytes({63, 1, 3})},
        {"num_buffers=300", Bytes({5, 1, 300 & 0xFF})},
        {"sweep=anything", Bytes({10, 1, 2})},
        {"sweep_interval=20000", Bytes({22, 4, 0x20, 0x4E, 0, 0})},
        {"no_garbage_collect", Bytes({16, 1, 0})},
        {"", ""},
        {"  \t ", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlockOf({c.Line}), Bytes({1}) + c.Item) << c.Line;
}

TEST(DatabaseParams, RefusedNames) {
    EXPECT_EQ(MessageOf<EFIBClientError>([] { BlockOf({"page_size=4096"}); }),
              "DPB Constant (isc_dpb_page_size) is unsupported.");
    EXPECT_EQ(MessageOf<EFIBClientError>([] { BlockOf({"Isc_Dpb_Page_Size=4096"}); }),
              "DPB Constant (isc_dpb_page_size) is unsupported.");
    EXPECT_EQ(MessageOf<EFIBClientError>([] { BlockOf({"ISC_DPB_NO_SUCH=1"}); }),
              "DPB Constant (no_such) is unknown.");
    EXPECT_EQ(MessageOf<EConvertError>([] { BlockOf({"num_buffers=many"}); }),
              "'many' is not a valid integer value");
}

// A value's length travels in one byte: a longer one is refused, not wrapped.
TEST(DatabaseParams, ValuesLongerThanALengthByteAreRefused) {
    const std::string longest(255, 'p');
    EXPECT_EQ(BlockOf({"password=" + longest}), Bytes({1, 29, 255}) + longest);
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { BlockOf({"password=" + longest + "p"}); }),
              "DPB Constant (isc_dpb_password) value is longer than 255 bytes.");
    TParamLines lines;
    lines.Assign({"lock_write=" + std::string(256, 'T')});
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { BuildTransactionParamBlock(lines); }),
              "TPB Constant (isc_tpb_lock_write) value is longer than 255 bytes.");
}

TEST(DatabaseParams, LinesAreTrimmedAndWrittenBackButInnerBlanksStay) {
    TParamLines params;
    params.Assign({" lc_ctype=WIN1251\t", " user_name = SYSDBA "});
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { BuildDatabaseParamBlock(params); }),
              "DPB Constant (user_name ) is unknown.");
    EXPECT_EQ(params[0], "lc_ctype=WIN1251");
    EXPECT_EQ(params[1], "user_name = SYSDBA");
}

TEST(DatabaseParams, ConnectionRefusesChangesWhileOpenAndRebuildsAtOpen) {
    TestDatabase database;
    MainWindowObjects objects;
    objects.dbsGrav.DBParams().Assign(
        {" lc_ctype=WIN1251 ", "", "password=quillbark", "user_name=SYSDBA"});
    objects.dbsGrav.SetDBName(database.File());
    objects.dbsGrav.Open();
    EXPECT_EQ(objects.dbsGrav.DPB(), BlockOf(ConnectionParamLines(nullptr, nullptr)));
    EXPECT_EQ(objects.dbsGrav.DBParams()[0], "lc_ctype=WIN1251");

    EXPECT_EQ(MessageOf<EFIBClientError>([&] { objects.dbsGrav.DBParams().Add("x=1"); }),
              "Cannot perform operation -- DB is currently open.");
    EXPECT_EQ(objects.dbsGrav.DBParams().Count(), 4u);
}

TEST(DatabaseParams, UnknownNameKeepsTheConnectionClosed) {
    TestDatabase database;
    MainWindowObjects objects;
    objects.dbsGrav.DBParams().Add("page_size=4096");
    objects.dbsGrav.SetDBName(database.File());
    EXPECT_EQ(MessageOf<EFIBClientError>([&] { objects.dbsGrav.Open(); }),
              "DPB Constant (isc_dpb_page_size) is unsupported.");
    EXPECT_FALSE(objects.dbsGrav.Connected());
}

} // namespace gravlink::test
