#include "workflow/export_run.h"

#include "fib/fib_query.h"
#include "fib/fib_transaction.h"
#include "fib/row_texts.h"
#include "support/append_file.h"
#include "support/date_time_value.h"
#include "support/path_delimiter.h"
#include "support/sql_timestamp_text.h"
#include "workflow/stamp_statements.h"

namespace gravlink {

std::string ExportFilePath(const std::string& exportDataDir) {
    return exportDataDir + PathDelimiter + "gravout.cvs";
}

void TExportRun::Execute(const TExportJob& job, TAppendFile& file) {
    FRowsWritten = 0;
    FQuery.Close();
    // Whatever is pending in the shared transaction is committed first, so that
    // the run reads and stamps in one snapshot of its own.
    if (FTransaction.Active())
        FTransaction.Commit();
    FTransaction.SetTPBMode(tpbRepeatableRead);
    try {
        FTransaction.StartTransaction();
        FQuery.SetSQL(job.SqlSelect);
        FQuery.ExecQuery();
        WriteRows(file);
        FQuery.Close();
        // No commit may stamp a record whose line a crash could still lose.
        file.Sync();
        const std::string stamp = SqlTimestampText(CurrentDateTime());
        FQuery.SetSQL(
            StampUnexportedSql(job.ExportTableName, job.ExportFieldName, stamp, job.SqlAutoExt));
        FQuery.ExecQuery();
        FTransaction.Commit();
    } catch (...) {
        // The snapshot holds nothing worth keeping, and the record view must not
        // go on reading it.
        try {
            if (FTransaction.Active())
                FTransaction.Rollback();
        } catch (const std::exception&) {
        }
        FTransaction.SetTPBMode(tpbReadCommitted);
        throw;
    }
    FTransaction.SetTPBMode(tpbReadCommitted);
}

void TExportRun::WriteRows(TAppendFile& file) {
    TRowTexts texts(FQuery, ';', "\r\n");
    while (!FQuery.Eof()) {
        file.Write(texts.Line());
        ++FRowsWritten;
        FQuery.Next();
    }
}

} // namespace gravlink
