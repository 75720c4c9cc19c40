#include "fib/fib_query.h"
#include "support/text_format_settings.h"
#include "tests/fib/fib_fixture.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>

// Counts every allocation of the test program, so that the export's append path can be
// shown to need none once its buffer has room.
namespace {
std::atomic<long> AllocationCount{0};
} // namespace

void* operator new(std::size_t size) {
    ++AllocationCount;
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace gravlink::test {

TEST(AppendAsString, ExportRowNeedsNoAllocation) {
    TFormatSettings settings;
    settings.ShortDatePattern = "dd.mm.yyyy";
    settings.LongTimePattern = "hh:nn:ss";
    settings.DecimalPoint = '.';
    TextFormatSettingsGuard guard(settings);

    TestDatabase database;
    database.Isql("create table R (C char(10), V varchar(20), N numeric(15,2), I integer,"
                  " S numeric(9,2), F double precision, D date, T time, TS timestamp);"
                  "insert into R values ('abc', 'text', 1234.56, 42, 1.5, 0.25, '2007-04-09',"
                  " '14:05:03', '2007-04-09 14:05:03');");
    MainWindowObjects objects;
    TpFIBQuery qryDBCheck(&objects.frmMain, "qryDBCheck");
    qryDBCheck.SetDatabase(&objects.dbsGrav);
    objects.dbsGrav.SetDBName(database.File());
    objects.dbsGrav.Open();
    objects.trnEdit.StartTransaction();
    qryDBCheck.SetSQL("select * from R");
    qryDBCheck.ExecQuery();

    std::string line;
    line.reserve(1024);
    const long before = AllocationCount;
    for (int i = 0; i < qryDBCheck.FieldCount(); ++i) {
        qryDBCheck.Fields(i).AppendAsString(line);
        line += ';';
    }
    const long allocations = AllocationCount - before;
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(line, "abc       ;text;1234.56;42;1.5;0.25;09.04.2007;14:05:03;09.04.2007 14:05:03;");
}

} // namespace gravlink::test
