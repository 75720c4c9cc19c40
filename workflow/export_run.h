#pragma once

#include <cstddef>
#include <string>

namespace gravlink {

class TAppendFile;
class TFIBQuery;
class TpFIBTransaction;

// What one export run needs of the settings.
struct TExportJob {
    std::string SqlSelect;
    std::string ExportTableName;
    std::string ExportFieldName;
    std::string SqlAutoExt;
};

// The export file of a folder: "/" always put between them.
std::string ExportFilePath(const std::string& exportDataDir);

// Appends every row of the main query to the export file, then stamps every
// unstamped record, committing the stamps only once the lines are on disk. The
// rows and the stamps are read in one snapshot, so a record committed by another
// connection meanwhile is neither written nor stamped, and goes out next time.
// Failures propagate; the lines written so far stay in the file.
class TExportRun {
public:
    TExportRun(TFIBQuery& query, TpFIBTransaction& transaction)
        : FQuery(query), FTransaction(transaction) {}

    // file is the export file, opened by the caller so that it outlives a failure.
    void Execute(const TExportJob& job, TAppendFile& file);
    size_t RowsWritten() const { return FRowsWritten; }

private:
    void WriteRows(TAppendFile& file);

    TFIBQuery& FQuery;
    TpFIBTransaction& FTransaction;
    size_t FRowsWritten = 0;
};

} // namespace gravlink
