// Measures the grid on a large table against references taken in the same run:
// the resident memory a browsed row costs against the size of its fetched buffer,
// the time from opening the view to its first screen, and the time to fetch every
// row into the grid against a bare fetch loop over the same select.
//   gravlink-benchmark-grid <connect string> <select>
#include "fib/fib_database.h"
#include "fib/fib_query.h"
#include "fib/fib_transaction.h"
#include "support/code_page.h"
#include "support/locale_format_settings.h"
#include "ui/data_grid.h"
#include "ui/data_source_model.h"
#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

long long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

struct TBareLoop {
    double Seconds = 0;
    long long Rows = 0;
    long long BufferBytes = 0; // of one fetched row: values, lengths, null indicators
};

// Every row of the select fetched and dropped, nothing else done with it.
TBareLoop BareFetchLoop(const std::string& connect, const std::string& select) {
    using namespace gravlink;
    TpFIBDatabase database;
    TpFIBTransaction transaction;
    database.DBParams().Assign({"lc_ctype=WIN1251", "password=quillbark", "user_name=SYSDBA"});
    database.SetSQLDialect(3);
    database.SetDefaultTransaction(&transaction);
    transaction.SetDefaultDatabase(&database);
    database.SetDBName(connect);
    database.Open();
    transaction.StartTransaction();
    TFIBQuery query;
    query.SetDatabase(&database);
    query.SetTransaction(&transaction);
    query.SetSQL(select);
    TBareLoop loop;
    const auto start = Clock::now();
    query.ExecQuery();
    while (!query.Eof()) {
        ++loop.Rows;
        query.Next();
    }
    loop.Seconds = Seconds(start);
    for (int i = 0; i < query.FieldCount(); ++i) {
        const TFIBXSQLVAR& column = query.Fields(i);
        loop.BufferBytes += column.SqlLength() + (column.SqlType() == SQL_VARYING ? 2 : 0) +
                            static_cast<long long>(sizeof(short));
    }
    query.Close();
    transaction.Commit();
    database.Close();
    return loop;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <connect string> <select>\n", argv[0]);
        return 2;
    }
    const std::string connect = argv[1];
    const std::string select = argv[2];
    QApplication application(argc, argv);
    gravlink::ReadTextFormatSettings();

    BareFetchLoop(connect, select); // warms the caches
    const TBareLoop bare = BareFetchLoop(connect, select);

    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("gravlink-grid-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    gravlink::MainWindow window;
    gravlink::TfrmMain& form = window.Controller();
    form.FormCreate({{}, (folder / "gravlink").string()});
    gravlink::TExportSettings& settings = form.Settings();
    settings.DBName = connect;
    settings.ExportTableName = "WEIGHTS";
    settings.ExportFieldName = "ExpWDT";
    settings.SqlSelect = select;
    window.show();
    QApplication::processEvents(); // connects, checks the stamp column, opens the view

    // The first screen: the view opened afresh and the grid drawn.
    const auto opening = Clock::now();
    form.RefreshView();
    window.DBGridEh1->viewport()->repaint();
    const double firstScreen = Seconds(opening);
    const int rowsOnFirstScreen = window.dcrStat->rowCount();

    const long long before = ResidentBytes();
    const auto fetching = Clock::now();
    window.DBGridEh1->GoToLast();
    const double fetchAll = Seconds(fetching);
    window.DBGridEh1->viewport()->repaint();
    const long long after = ResidentBytes();
    const long long rows = window.dcrStat->rowCount();

    const TBareLoop bareAgain = BareFetchLoop(connect, select);
    const double reference = std::min(bare.Seconds, bareAgain.Seconds);
    const double perRow = rows > 0 ? double(after - before) / double(rows) : 0;

    std::printf("rows %lld (bare loop %lld), fetched buffer %lld bytes a row\n", rows, bare.Rows,
                bare.BufferBytes);
    std::printf("memory: %.1f bytes a row resident = %.2fx the fetched buffer (goal <= 1.5x)\n",
                perRow, perRow / double(bare.BufferBytes));
    std::printf("first screen: %.1f ms for %d rows (goal < 100 ms)\n", firstScreen * 1000,
                rowsOnFirstScreen);
    std::printf("fetch all into the grid: %.2f s, bare fetch loop %.2f s = %.2fx (goal <= 1.3x)\n",
                fetchAll, reference, fetchAll / reference);
    form.FormDestroy();
    std::filesystem::remove_all(folder);
    const bool met = perRow <= 1.5 * double(bare.BufferBytes) && firstScreen < 0.1 &&
                     fetchAll <= 1.3 * reference && rows == bare.Rows;
    return met ? 0 : 1;
}
