#pragma once

#include "fib/bound_objects.h"
#include "fib/default_formats.h"
#include "fib/fib_component.h"
#include "fib/fib_fields.h"
#include "fib/fib_query.h"
#include "fib/fib_variant.h"
#include "fib/record_cache.h"
#include "fib/record_layout.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace gravlink {

class TFIBDatabase;
class TFIBTransaction;
class TFIBCustomDataSet;

// Options of a data set, one bit each. Only the first, third and fourth act; the others
// concern editing, which the data set does not do.
enum TpFIBDataSetOption : unsigned {
    poTrimCharFields = 1 << 0,
    poRefreshAfterPost = 1 << 1,
    poStartTransaction = 1 << 2,
    poAutoFormatFields = 1 << 3,
};
using TpFIBDataSetOptions = unsigned;
inline constexpr TpFIBDataSetOptions DefaultDataSetOptions =
    poTrimCharFields | poRefreshAfterPost | poStartTransaction | poAutoFormatFields;

// How the data set builds its fields.
enum TpPrepareOption : unsigned {
    pfImportDefaultValues = 1 << 0,
    psUseBooleanField = 1 << 1,
    psSQLINT64ToBCD = 1 << 2,
    psGetOrderInfo = 1 << 3,
};
using TpPrepareOptions = unsigned;
inline constexpr TpPrepareOptions DefaultPrepareOptions =
    pfImportDefaultValues | psUseBooleanField | psGetOrderInfo;

// What a view of the data set is told.
enum TDataSetEvent {
    deOpened,      // open, fields and first row in place
    deClosing,     // about to close; fields and rows still there
    deClosed,      // rows and fields gone
    deRowsFetched, // RecordCount grew
    deScrolled,    // the current row changed
};

// A view showing the data set (the grid's model). It must not move the cursor or
// close the data set while it is being told.
class IDataSetLink {
public:
    virtual void DataSetChanged(TFIBCustomDataSet& dataSet, TDataSetEvent event) = 0;

protected:
    ~IDataSetLink() = default;
};

// The rows of one select for browsing: the select runs in the data set's transaction,
// rows are fetched as the cursor moves forward and kept until the data set closes.
// Never edits.
class TFIBCustomDataSet : public TComponent,
                          public IFIBDatabaseClient,
                          public IFIBTransactionClient,
                          private IFieldDataSource {
public:
    explicit TFIBCustomDataSet(TComponent* owner = nullptr, std::string name = {});
    ~TFIBCustomDataSet() override;

    TFIBDatabase* Database() const { return FDatabase; }
    void SetDatabase(TFIBDatabase* database);
    TFIBTransaction* Transaction() const { return FTransaction; }
    void SetTransaction(TFIBTransaction* transaction);

    // The select text; its lines each followed by CR LF. Assigning it unprepares the data
    // set and drops its field definitions; while open it fails with message 28 from
    // the select statement.
    std::string SelectSQL() const { return FSelectQuery.SQL(); }
    void SetSelectSQL(const std::string& text);

    TpFIBDataSetOptions Options() const { return FOptions; }
    void SetOptions(TpFIBDataSetOptions options) { FOptions = options; }
    TpPrepareOptions PrepareOptions() const { return FPrepareOptions; }
    void SetPrepareOptions(TpPrepareOptions options);
    TDefaultFormats& DefaultFormats() { return FDefaultFormats; }

    // Starts the transaction when asked to (poStartTransaction), prepares unless still
    // prepared, opens the select's cursor and fetches the first row. A failure leaves
    // the data set closed.
    void Open();
    // Closes the cursor, frees the cached rows and the fields; stays prepared.
    void Close();
    bool Active() const { return FActive; }
    void SetActive(bool active);
    // Checks the database and transaction and, unless prepared, prepares the select and
    // builds the field definitions. Message 37 for an empty text.
    void Prepare();
    bool Prepared() const { return FPrepared && FSelectQuery.Prepared(); }

    // Definitions of the select's columns, available once prepared.
    const std::vector<TFieldDef>& FieldDefs() const { return FFieldDefs; }
    // Fields exist while open.
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TField& Fields(int index) const { return *FFields[static_cast<size_t>(index)]; }
    // The first field of that name, ASCII letters compared without regard to case.
    TField* FindField(const std::string& name) const;
    // The same; when there is none: EDatabaseError "<Name>: Field '<name>' not found".
    TField& FieldByName(const std::string& name) const;
    // The value of that field in the current row; null without a row.
    TVariant FieldValue(const std::string& name) const;

    // Cursor. Rows are numbered from 0; CurrentRow is -1 when there is none.
    int RecordCount() const { return static_cast<int>(FCache.Count()); }
    int CurrentRow() const { return FCurrent; }
    bool IsEmpty() const { return FCache.Count() == 0; }
    bool Bof() const { return FBof; }
    // True when Next found no further row, or the data set holds none.
    bool Eof() const { return FEof; }
    // Every row of the select is cached.
    bool AllFetched() const { return FAllFetched; }
    void First();
    void Next();
    void Prior();
    // Fetches every remaining row and moves to the last.
    void Last();
    // Moves to row, fetching up to it; false (and the cursor on the last row) when the
    // select has fewer rows.
    bool MoveTo(int row);
    // Fetches up to count more rows without moving; the number fetched.
    int FetchMore(int count);
    void FetchAll();
    // Calls of the select statement's Next since the last Open.
    int FetchCount() const { return FFetchCount; }

    // Data and text of any cached row, for a grid that draws rows it does not visit.
    TFieldData FieldDataAt(int row, int field) const;
    std::string DisplayTextAt(int row, int field) const;

    void AddDataLink(IDataSetLink* link) { FLinks.Add(link); }
    void RemoveDataLink(IDataSetLink* link) { FLinks.Remove(link); }

    // The internal select, "SelectQuery".
    TFIBQuery& SelectQuery() { return FSelectQuery; }

    // IFIBDatabaseClient
    void DatabaseBeforeDisconnect(TFIBDatabase&) override;
    void DatabaseFreed(TFIBDatabase&) override;
    // IFIBTransactionClient
    void TransactionBeforeEnd(TFIBTransaction&, TTransactionAction) override;
    void TransactionFreed(TFIBTransaction&) override;

private:
    // What the system tables say about one column of a table.
    struct TColumnInfo {
        std::string DomainName;
        std::string DefaultSource;
    };
    using TRelationInfo = std::map<std::string, TColumnInfo>;

    const TFieldData* ActiveFieldData(int index) const override;
    void ResolveConnection();
    void BuildFieldDefs();
    const TRelationInfo& RelationInfo(const std::string& relation);
    void CreateFields();
    void DestroyFields();
    bool FetchNext();
    void BuildLayout();
    // The cache's bytes of the fetched row.
    void EncodeRow(TFIBXSQLDA& row, std::string& bytes);
    void SetCurrent(int row);
    void Notify(TDataSetEvent event);

    TFIBDatabase* FDatabase = nullptr;
    TFIBTransaction* FTransaction = nullptr;
    TFIBQuery FSelectQuery;
    TpFIBDataSetOptions FOptions = DefaultDataSetOptions;
    TpPrepareOptions FPrepareOptions = DefaultPrepareOptions;
    TDefaultFormats FDefaultFormats;
    bool FActive = false;
    bool FPrepared = false;
    std::vector<TFieldDef> FFieldDefs;
    // Output column of each definition.
    std::vector<int> FDefColumns;
    std::vector<std::unique_ptr<TField>> FFields;
    std::map<std::string, TRelationInfo> FRelations;
    TRecordCache FCache;
    TRecordLayout FLayout;
    // Where a fetched row is built before it is cached.
    std::string FRowBytes;
    // The current row's data, read from the cache once per move of the cursor.
    mutable std::vector<TFieldData> FCurrentData;
    mutable int FCurrentDataRow = -1;
    int FCurrent = -1;
    bool FBof = true;
    bool FEof = true;
    bool FAllFetched = false;
    int FFetchCount = 0;
    TBoundList<IDataSetLink> FLinks;
};

// The data set the program's windows own.
class TpFIBDataSet : public TFIBCustomDataSet {
public:
    using TFIBCustomDataSet::TFIBCustomDataSet;
};

} // namespace gravlink
