#pragma once

#include "support/date_time_value.h"

#include <cstdint>
#include <ibase.h>
#include <memory>
#include <string>
#include <vector>

namespace gravlink {

class TFIBQuery;
class TFIBXSQLDA;

// Firebird 3's own BOOLEAN code; read like the older 590.
inline constexpr short SQL_FB_BOOLEAN = 32764;
inline constexpr short SQL_OLD_BOOLEAN = 590;

// One output column or one parameter of a statement: an entry of the XSQLDA
// descriptor with its own value buffer and null indicator.
class TFIBXSQLVAR {
public:
    TFIBXSQLVAR(TFIBXSQLDA& owner, int index);
    TFIBXSQLVAR(const TFIBXSQLVAR&) = delete;
    TFIBXSQLVAR& operator=(const TFIBXSQLVAR&) = delete;

    int Index() const { return FIndex; }
    // The output name (alias after numbering) or the parameter's name.
    const std::string& Name() const { return FName; }
    TFIBXSQLDA& Owner() const { return *FOwner; }
    TFIBQuery& Query() const;
    bool IsParam() const;

    // The type code without the null flag.
    short SqlType() const { return static_cast<short>(Var().sqltype & ~1); }
    short SqlSubType() const { return Var().sqlsubtype; }
    short SqlScale() const { return Var().sqlscale; }
    short SqlLength() const { return Var().sqllen; }
    bool Nullable() const { return (Var().sqltype & 1) != 0; }
    std::string RelationName() const;
    std::string ColumnName() const;
    std::string OwnerName() const;
    std::string AliasName() const;
    // The value buffer in the client's layout and the descriptor entry itself.
    const char* Data() const { return FData.data(); }
    const XSQLVAR& Var() const;

    bool IsNull() const;
    // The text of the value; "" when null.
    std::string AsString() const;
    // The same text appended to out; numbers, dates and strings allocate nothing of
    // their own, so an export can reuse one buffer for every line.
    void AppendAsString(std::string& out) const;
    double AsDouble() const;
    TDateTime AsDateTime() const;
    int64_t AsInt64() const;

    // Sets a parameter from text (see the rules for BLOBs, CHAR and numeric types).
    void SetAsString(const std::string& text);
    // Makes a parameter null.
    void Clear();
    // A parameter's value was set since the last execute.
    bool Changed() const { return FChanged; }
    void ClearChanged() { FChanged = false; }

private:
    friend class TFIBXSQLDA;
    XSQLVAR& Var();
    // After the server described the entry: buffers of the described size, bound to
    // the descriptor; a parameter keeps a value set before.
    void SetupOutput(std::string name);
    void SetupParam();
    void BindBuffers();
    void MarkNull() { FNullIndicator = -1; }
    void AppendBlobText(std::string& out) const;
    void WriteBlob(const std::string& text);

    TFIBXSQLDA* FOwner;
    int FIndex;
    std::string FName;
    std::vector<char> FData;
    short FNullIndicator = -1;
    // For a parameter: the type the server described (0 until then), and a value set
    // as text that the descriptor must keep.
    short FServerType = 0;
    short FServerLength = 0;
    bool FHoldsText = false;
    bool FHoldsBlob = false;
    bool FChanged = false;
};

// The columns or parameters of a statement around one XSQLDA descriptor.
class TFIBXSQLDA {
public:
    TFIBXSQLDA(TFIBQuery& query, bool isParams);
    TFIBXSQLDA(const TFIBXSQLDA&) = delete;
    TFIBXSQLDA& operator=(const TFIBXSQLDA&) = delete;

    int Count() const { return static_cast<int>(FVars.size()); }
    TFIBXSQLVAR& operator[](int index) { return *FVars[static_cast<size_t>(index)]; }
    const TFIBXSQLVAR& operator[](int index) const { return *FVars[static_cast<size_t>(index)]; }
    // The entry of that name (ASCII letters compared without regard to case); null
    // when there is none.
    TFIBXSQLVAR* ByName(const std::string& name);
    bool IsParams() const { return FIsParams; }
    TFIBQuery& Query() const { return *FQuery; }

    // The descriptor as the client reads and writes it; null while empty.
    XSQLDA* Descriptor() { return FDescriptor.get(); }
    // Room for count entries, each empty.
    void Resize(int count);
    // Parameters named in the text, before the server has described them.
    void SetParamNames(const std::vector<std::string>& names);
    void Clear() { Resize(0); }

    // After a describe: parameters take the server's types; output columns get their
    // names (numbering duplicates and unnamed ones, upper case in dialect 1) and buffers.
    void SetupParams();
    void SetupOutput(int dialect);
    // Every entry null, as before an execute.
    void MarkAllNull();

private:
    friend class TFIBXSQLVAR;
    struct FreeDescriptor {
        void operator()(XSQLDA* descriptor) const;
    };
    TFIBQuery* FQuery;
    bool FIsParams;
    std::unique_ptr<XSQLDA, FreeDescriptor> FDescriptor;
    // Entries stay in place: the descriptor points at their buffers.
    std::vector<std::unique_ptr<TFIBXSQLVAR>> FVars;
};

// Values of the client's buffers: a scaled integer (value times ten to the scale, in
// extended precision), and the server's day, time of day and timestamp.
double ScaledIntegerValue(int64_t value, int scale);
TDateTime ServerDateValue(ISC_DATE date);
TDateTime ServerTimeValue(ISC_TIME time);
TDateTime ServerTimestampValue(const ISC_TIMESTAMP& stamp);

// The output names of columns with the given aliases: an empty alias becomes "F_"
// with a number counted among the unnamed columns, a repeated name gets the smallest
// number from 1 that makes it unique; upper-cased (ASCII) when upperCase is set.
std::vector<std::string> OutputColumnNames(const std::vector<std::string>& aliases, bool upperCase);

} // namespace gravlink
