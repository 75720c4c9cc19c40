#pragma once

#include "support/date_time_text.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace gravlink {

class TFIBQuery;
class TFIBXSQLVAR;

// The texts of the fetched row of an open select, written straight from the client's
// buffers into one line: for each column the text AsString gives, a separator
// between them and an end after them. Made for the select once it is open: the
// columns, the trimming option and the date and time patterns of that moment hold
// for every row. Writing a line allocates nothing but for a BLOB's text.
class TRowTexts {
public:
    TRowTexts(TFIBQuery& query, char separator, std::string_view end);

    // The line of the row last fetched; valid until the next call.
    std::string_view Line();

private:
    enum TKind : unsigned char {
        Text,
        TrimmedText,
        Varying,
        TrimmedVarying,
        Short,
        Long,
        ScaledShort,
        ScaledLong,
        Int64,
        Float,
        Double,
        Date,
        Time,
        Timestamp,
        Boolean,
        Other, // BLOBs and arrays: as the column itself writes them
    };
    struct TColumn {
        TKind Kind = Other;
        const char* Data = nullptr;
        const short* Null = nullptr; // null for a column that is never null
        int Length = 0;              // of the buffer
        int Scale = 0;
        const TDateTimePattern* Pattern = nullptr;
        const TFIBXSQLVAR* Var = nullptr;
    };

    char* WriteOther(char* at, const TColumn& column);

    std::vector<TColumn> FColumns;
    std::vector<TDateTimePattern> FPatterns; // date, time and timestamp, in that order
    char FSeparator;
    std::string FEnd;
    size_t FFixedRoom = 0; // the longest line without the texts of the Other columns
    std::string FLine;
    std::string FOther;
};

} // namespace gravlink
