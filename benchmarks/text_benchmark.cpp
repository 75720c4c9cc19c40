// The per-value texts of an export, each beside the standard library's nearest
// equivalent. Names are "texts/<value>/<writer>"; scripts/benchmark.sh --micro pairs
// every gravlink writer with the "std…" writer of its value and prints the ratio.
// The column texts read one row of a throwaway embedded database holding one value
// of each column type.
#include "fib/fib_database.h"
#include "fib/fib_query.h"
#include "fib/fib_transaction.h"
#include "fib/row_texts.h"
#include "fib/scaled_integer_text.h"
#include "support/date_time_text.h"
#include "support/date_time_value.h"
#include "support/number_text.h"
#include "support/text_format_settings.h"

#include <benchmark/benchmark.h>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

using namespace gravlink;

// The texts of the site: Russian dates, "." in numbers.
TFormatSettings SiteSettings() {
    TFormatSettings settings;
    settings.ShortDatePattern = "dd.mm.yyyy";
    settings.LongTimePattern = "hh:nn:ss";
    settings.DateSeparatorChar = '.';
    settings.TimeSeparatorChar = ':';
    settings.DecimalPoint = '.';
    return settings;
}

constexpr double Humidity = 12.833333333333334;
constexpr int64_t Gross = 3141592; // 31415.92 as NUMERIC(15,2)
// 2026-01-01 06:00:17
const TDateTime Stamp = EncodeDateTime(2026, 1, 1, 6, 0, 17, 0);

void FloatTextString(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(FloatText(Humidity));
}

void FloatTextAppend(benchmark::State& state) {
    std::string out;
    out.reserve(64);
    for (auto _ : state) {
        out.clear();
        AppendFloatText(out, Humidity);
        benchmark::DoNotOptimize(out.data());
    }
}

void FloatToChars(benchmark::State& state) {
    char buffer[64];
    for (auto _ : state) {
        auto result =
            std::to_chars(buffer, buffer + sizeof buffer, Humidity, std::chars_format::general, 15);
        benchmark::DoNotOptimize(result.ptr);
    }
}

void ScaledAppend(benchmark::State& state) {
    std::string out;
    out.reserve(64);
    for (auto _ : state) {
        out.clear();
        AppendScaledInt64Text(out, Gross, 2, '.');
        benchmark::DoNotOptimize(out.data());
    }
}

void Int64ToChars(benchmark::State& state) {
    char buffer[32];
    for (auto _ : state) {
        auto result = std::to_chars(buffer, buffer + sizeof buffer, Gross);
        benchmark::DoNotOptimize(result.ptr);
    }
}

void DateTimeTextString(benchmark::State& state) {
    TextFormatSettingsGuard guard(SiteSettings());
    for (auto _ : state)
        benchmark::DoNotOptimize(DateTimeText(Stamp));
}

void DateTimeTextAppend(benchmark::State& state) {
    TextFormatSettingsGuard guard(SiteSettings());
    std::string out;
    out.reserve(64);
    for (auto _ : state) {
        out.clear();
        AppendDateTimeText(out, Stamp);
        benchmark::DoNotOptimize(out.data());
    }
}

void DateTimePatternWrite(benchmark::State& state) {
    const TDateTimePattern pattern("c", SiteSettings());
    char buffer[DateTimeTextMaxLength];
    for (auto _ : state)
        benchmark::DoNotOptimize(pattern.Write(buffer, Stamp));
}

// strftime from the broken-down time, with the seconds since the epoch taken apart
// by gmtime_r as a C program would.
void DateTimeStrftime(benchmark::State& state) {
    const time_t seconds = static_cast<time_t>((Stamp - 25569.0) * 86400.0 + 0.5);
    char buffer[64];
    for (auto _ : state) {
        std::tm parts{};
        gmtime_r(&seconds, &parts);
        benchmark::DoNotOptimize(std::strftime(buffer, sizeof buffer, "%d.%m.%Y %H:%M:%S", &parts));
    }
}

// One row of every column type the export meets, in a throwaway embedded database.
class ColumnRow {
public:
    ColumnRow() {
        char folder[] = "/tmp/gravlink-texts.XXXXXX";
        if (!mkdtemp(folder))
            throw std::runtime_error("no temporary folder");
        FFolder = folder;
        FFile = FFolder + "/texts.fdb";
        const std::string script = FFolder + "/create.sql";
        if (FILE* sql = std::fopen(script.c_str(), "w")) {
            std::fprintf(sql,
                         "create database '%s' user 'SYSDBA' password 'quillbark' default "
                         "character set WIN1251;\n"
                         "create table R (I integer, S numeric(9,2), N numeric(15,2), "
                         "F double precision, V varchar(40), C char(12), D date, T time, "
                         "TS timestamp, B boolean);\n"
                         "insert into R values (42817, 11234.5, 31415.92, 12.833333333333334,"
                         " 'A123BC 77', 'Y', '2026-01-01', '06:00:17', '2026-01-01 06:00:17',"
                         " true);\ncommit;\n",
                         FFile.c_str());
            std::fclose(sql);
        }
        const std::string command = "isql-fb -q -b -i '" + script + "' >/dev/null";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("cannot create the benchmark database");
        FDatabase.DBParams().Assign({"lc_ctype=WIN1251", "password=quillbark", "user_name=SYSDBA"});
        FDatabase.SetSQLDialect(3);
        FDatabase.SetDefaultTransaction(&FTransaction);
        FTransaction.SetDefaultDatabase(&FDatabase);
        FDatabase.SetDBName(FFile);
        FDatabase.Open();
        FTransaction.StartTransaction();
        FQuery.SetDatabase(&FDatabase);
        FQuery.SetSQL("select * from R");
        FQuery.ExecQuery();
    }
    ~ColumnRow() {
        FQuery.Close();
        FTransaction.Commit();
        FDatabase.Close();
        std::filesystem::remove_all(FFolder);
    }

    TFIBQuery& Query() { return FQuery; }

private:
    std::string FFolder;
    std::string FFile;
    TComponent FOwner{nullptr, "frmMain"};
    TpFIBDatabase FDatabase{&FOwner, "dbsGrav"};
    TpFIBTransaction FTransaction{&FOwner, "trnEdit"};
    TpFIBQuery FQuery{&FOwner, "qryDBCheck"};
};

std::unique_ptr<ColumnRow> Row;

// The export's line of the whole row, against the standard library's texts of each
// value one after the other.
void RowLine(benchmark::State& state) {
    TextFormatSettingsGuard guard(SiteSettings());
    TRowTexts texts(Row->Query(), ';', "\r\n");
    for (auto _ : state)
        benchmark::DoNotOptimize(texts.Line().data());
}

char* StdText(const TFIBXSQLVAR& field, char* buffer);

void RowStd(benchmark::State& state) {
    char line[1024];
    TFIBQuery& query = Row->Query();
    for (auto _ : state) {
        char* at = line;
        for (int i = 0; i < query.FieldCount(); ++i) {
            at = StdText(query.Fields(i), at);
            *at++ = ';';
        }
        benchmark::DoNotOptimize(at);
    }
}

void ColumnAsString(benchmark::State& state, int column) {
    TextFormatSettingsGuard guard(SiteSettings());
    const TFIBXSQLVAR& field = Row->Query().Fields(column);
    for (auto _ : state)
        benchmark::DoNotOptimize(field.AsString());
}

void ColumnAppend(benchmark::State& state, int column) {
    TextFormatSettingsGuard guard(SiteSettings());
    const TFIBXSQLVAR& field = Row->Query().Fields(column);
    std::string out;
    out.reserve(256);
    for (auto _ : state) {
        out.clear();
        field.AppendAsString(out);
        benchmark::DoNotOptimize(out.data());
    }
}

// The standard library's nearest for the fetched value of each column.
// buffer has room for any of them.
char* StdText(const TFIBXSQLVAR& field, char* buffer) {
    constexpr size_t Room = 64;
    const XSQLVAR& var = field.Var();
    const char* data = var.sqldata;
    char* end = buffer;
    switch (field.SqlType()) {
    case SQL_LONG: {
        int32_t value;
        std::memcpy(&value, data, sizeof value);
        end = std::to_chars(buffer, buffer + Room, value).ptr;
        break;
    }
    case SQL_INT64: {
        int64_t value;
        std::memcpy(&value, data, sizeof value);
        end = std::to_chars(buffer, buffer + Room, value).ptr;
        break;
    }
    case SQL_DOUBLE: {
        double value;
        std::memcpy(&value, data, sizeof value);
        end = std::to_chars(buffer, buffer + Room, value, std::chars_format::general, 15).ptr;
        break;
    }
    case SQL_VARYING: {
        uint16_t length;
        std::memcpy(&length, data, sizeof length);
        std::memcpy(buffer, data + 2, length);
        end = buffer + length;
        break;
    }
    case SQL_TEXT:
        std::memcpy(buffer, data, static_cast<size_t>(var.sqllen));
        end = buffer + var.sqllen;
        break;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TIMESTAMP: {
        // Seconds since the epoch from the server's day and time, as a C program
        // hands them to gmtime_r.
        ISC_DATE day = 40587; // 1 January 1970
        ISC_TIME time = 0;
        if (field.SqlType() == SQL_TYPE_TIME) {
            std::memcpy(&time, data, sizeof time);
        } else {
            std::memcpy(&day, data, sizeof day);
            if (field.SqlType() == SQL_TIMESTAMP)
                std::memcpy(&time, data + sizeof day, sizeof time);
        }
        const time_t seconds = (static_cast<time_t>(day) - 40587) * 86400 + time / 10000;
        std::tm parts{};
        gmtime_r(&seconds, &parts);
        const char* format = field.SqlType() == SQL_TYPE_TIME   ? "%H:%M:%S"
                             : field.SqlType() == SQL_TYPE_DATE ? "%d.%m.%Y"
                                                                : "%d.%m.%Y %H:%M:%S";
        end = buffer + std::strftime(buffer, Room, format, &parts);
        break;
    }
    default:
        std::memcpy(buffer, *data == 1 ? "True" : "False", 5);
        end = buffer + 5;
        break;
    }
    return end;
}

void ColumnStd(benchmark::State& state, int column) {
    const TFIBXSQLVAR& field = Row->Query().Fields(column);
    char buffer[128];
    for (auto _ : state)
        benchmark::DoNotOptimize(StdText(field, buffer));
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Row = std::make_unique<ColumnRow>();

    benchmark::RegisterBenchmark("texts/double/FloatText", FloatTextString);
    benchmark::RegisterBenchmark("texts/double/AppendFloatText", FloatTextAppend);
    benchmark::RegisterBenchmark("texts/double/std::to_chars", FloatToChars);
    benchmark::RegisterBenchmark("texts/scaled int64/AppendScaledInt64Text", ScaledAppend);
    benchmark::RegisterBenchmark("texts/scaled int64/std::to_chars", Int64ToChars);
    benchmark::RegisterBenchmark("texts/timestamp/DateTimeText", DateTimeTextString);
    benchmark::RegisterBenchmark("texts/timestamp/AppendDateTimeText", DateTimeTextAppend);
    benchmark::RegisterBenchmark("texts/timestamp/TDateTimePattern", DateTimePatternWrite);
    benchmark::RegisterBenchmark("texts/timestamp/std strftime", DateTimeStrftime);

    const char* columns[] = {"integer", "numeric 9.2", "numeric 15.2", "double",    "varchar",
                             "char",    "date",         "time",          "timestamp", "boolean"};
    for (int i = 0; i < static_cast<int>(std::size(columns)); ++i) {
        const std::string prefix = std::string("texts/column ") + columns[i] + "/";
        benchmark::RegisterBenchmark((prefix + "AsString").c_str(), ColumnAsString, i);
        benchmark::RegisterBenchmark((prefix + "AppendAsString").c_str(), ColumnAppend, i);
        benchmark::RegisterBenchmark((prefix + "std").c_str(), ColumnStd, i);
    }
    benchmark::RegisterBenchmark("texts/row of every type/TRowTexts", RowLine);
    benchmark::RegisterBenchmark("texts/row of every type/std", RowStd);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Row.reset();
    return 0;
}
