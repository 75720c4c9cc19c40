#pragma once

#include "support/exception.h"

#include <ibase.h>
#include <memory>
#include <string>
#include <utility>

namespace gravlink {

// The entry points of the client library, in the order the binding resolves them:
// the required ones, then the group that comes with isc_rollback_retaining, then the
// client-version group.
enum class TEntryPoint {
    BLOB_get,
    BLOB_put,
    isc_sqlcode,
    isc_sql_interprete,
    isc_interprete,
    isc_vax_integer,
    isc_blob_info,
    isc_open_blob2,
    isc_close_blob,
    isc_get_segment,
    isc_put_segment,
    isc_create_blob2,
    isc_decode_date,
    isc_encode_date,
    isc_dsql_free_statement,
    isc_dsql_execute2,
    isc_dsql_execute,
    isc_dsql_set_cursor_name,
    isc_dsql_fetch,
    isc_dsql_sql_info,
    isc_dsql_alloc_statement2,
    isc_dsql_prepare,
    isc_dsql_describe_bind,
    isc_dsql_describe,
    isc_dsql_execute_immediate,
    isc_dsql_exec_immed2,
    isc_drop_database,
    isc_detach_database,
    isc_attach_database,
    isc_database_info,
    isc_start_multiple,
    isc_commit_transaction,
    isc_commit_retaining,
    isc_rollback_transaction,
    isc_cancel_events,
    isc_que_events,
    isc_event_counts,
    isc_event_block,
    isc_free,
    isc_array_lookup_bounds,
    isc_array_get_slice,
    isc_array_put_slice,
    isc_wait_for_event,
    isc_transaction_info,
    // Present from client version 6 on.
    isc_rollback_retaining,
    isc_service_attach,
    isc_service_detach,
    isc_service_query,
    isc_service_start,
    isc_decode_sql_date,
    isc_decode_sql_time,
    isc_decode_timestamp,
    isc_encode_sql_date,
    isc_encode_sql_time,
    isc_encode_timestamp,
    isc_portable_integer,
    // Present in clients that tell their version.
    isc_get_client_version,
    isc_get_client_major_version,
    isc_get_client_minor_version,
    // Looked up one by one; a client without them is still served.
    fb_interpret,
    fb_cancel_operation,
};
inline constexpr int EntryPointCount = static_cast<int>(TEntryPoint::fb_cancel_operation) + 1;
inline constexpr int RequiredEntryPointCount =
    static_cast<int>(TEntryPoint::isc_transaction_info) + 1;

// The exported name of an entry point.
const char* EntryPointName(TEntryPoint entry);

// A failure of the operating system's loader: "System Error.  Code: %d.\r\n%s".
class EOSError : public Exception {
public:
    EOSError(int errorCode, std::string message)
        : Exception(std::move(message)), FErrorCode(errorCode) {}
    int ErrorCode() const noexcept { return FErrorCode; }

private:
    int FErrorCode;
};

class TReplyWatch;

// Marks one client call of the calling thread while it lives, for the reply watch
// armed on that thread, if any (fib/reply_watch.h).
class TClientCallMark {
public:
    TClientCallMark() noexcept;
    ~TClientCallMark();
    TClientCallMark(const TClientCallMark&) = delete;
    TClientCallMark& operator=(const TClientCallMark&) = delete;

private:
    TReplyWatch* FWatch;
};

// The loaded client library, shared by every connection naming the same file. Users
// hold it through std::shared_ptr and call the entry points through the typed
// wrappers below, which pass their arguments to the function unchanged and return its
// result unchanged; checking the result is the caller's business.
class IIBClientLibrary {
public:
    virtual ~IIBClientLibrary() = default;

    // The file name exactly as it was asked for.
    virtual const std::string& LibraryName() const = 0;
    virtual int ClientMajorVersion() const = 0;
    virtual int ClientMinorVersion() const = 0;
    // The address of an entry point; fails with "Can't find procedure %s in %s" when
    // the library did not export it.
    virtual void* EntryPoint(TEntryPoint entry) const = 0;
    // Whether the library exported the entry point.
    virtual bool Provides(TEntryPoint entry) const = 0;

// One wrapper per entry point, typed by the prototype ibase.h declares. The prototype
// is only named, never called or linked: the call goes through the resolved address.
// The call is marked while it waits in the library.
#define GRAVLINK_CLIENT_ENTRY(name)                                                                \
    template <class... Args> auto name(Args&&... args) const {                                     \
        const auto entry = reinterpret_cast<decltype(&::name)>(EntryPoint(TEntryPoint::name));     \
        const TClientCallMark call;                                                                \
        return entry(std::forward<Args>(args)...);                                                 \
    }
    GRAVLINK_CLIENT_ENTRY(BLOB_get)
    GRAVLINK_CLIENT_ENTRY(BLOB_put)
    GRAVLINK_CLIENT_ENTRY(isc_sqlcode)
    GRAVLINK_CLIENT_ENTRY(isc_sql_interprete)
    // Declared deprecated by ibase.h, so typed here; the client advances *status.
    ISC_LONG isc_interprete(ISC_SCHAR* buffer, ISC_STATUS** status) const {
        using TInterprete = ISC_LONG (*)(ISC_SCHAR*, ISC_STATUS**);
        return reinterpret_cast<TInterprete>(EntryPoint(TEntryPoint::isc_interprete))(buffer,
                                                                                      status);
    }
    GRAVLINK_CLIENT_ENTRY(isc_vax_integer)
    GRAVLINK_CLIENT_ENTRY(isc_blob_info)
    GRAVLINK_CLIENT_ENTRY(isc_open_blob2)
    GRAVLINK_CLIENT_ENTRY(isc_close_blob)
    GRAVLINK_CLIENT_ENTRY(isc_get_segment)
    GRAVLINK_CLIENT_ENTRY(isc_put_segment)
    GRAVLINK_CLIENT_ENTRY(isc_create_blob2)
    GRAVLINK_CLIENT_ENTRY(isc_decode_date)
    GRAVLINK_CLIENT_ENTRY(isc_encode_date)
    GRAVLINK_CLIENT_ENTRY(isc_dsql_free_statement)
    GRAVLINK_CLIENT_ENTRY(isc_dsql_execute2)
    GRAVLINK_CLIENT_ENTRY(isc_dsql_execute)
    GRAVLINK_CLIENT_ENTRY(isc_dsql_set_cursor_name)
    GRAVLINK_CLIENT_ENTRY(isc_dsql_fetch)
    GRAVLINK_CLIENT_ENTRY(isc_dsql_sql_info)
    GRAVLINK_CLIENT_ENTRY(isc_dsql_alloc_statement2)
    GRAVLINK_CLIENT_ENTRY(isc_dsql_prepare)
    GRAVLINK_CLIENT_ENTRY(isc_dsql_describe_bind)
    GRAVLINK_CLIENT_ENTRY(isc_dsql_describe)
    GRAVLINK_CLIENT_ENTRY(isc_dsql_execute_immediate)
    GRAVLINK_CLIENT_ENTRY(isc_dsql_exec_immed2)
    GRAVLINK_CLIENT_ENTRY(isc_drop_database)
    GRAVLINK_CLIENT_ENTRY(isc_detach_database)
    GRAVLINK_CLIENT_ENTRY(isc_attach_database)
    GRAVLINK_CLIENT_ENTRY(isc_database_info)
    GRAVLINK_CLIENT_ENTRY(isc_start_multiple)
    GRAVLINK_CLIENT_ENTRY(isc_commit_transaction)
    GRAVLINK_CLIENT_ENTRY(isc_commit_retaining)
    GRAVLINK_CLIENT_ENTRY(isc_rollback_transaction)
    GRAVLINK_CLIENT_ENTRY(isc_cancel_events)
    GRAVLINK_CLIENT_ENTRY(isc_que_events)
    GRAVLINK_CLIENT_ENTRY(isc_event_counts)
    GRAVLINK_CLIENT_ENTRY(isc_event_block)
    GRAVLINK_CLIENT_ENTRY(isc_free)
    GRAVLINK_CLIENT_ENTRY(isc_array_lookup_bounds)
    GRAVLINK_CLIENT_ENTRY(isc_array_get_slice)
    GRAVLINK_CLIENT_ENTRY(isc_array_put_slice)
    GRAVLINK_CLIENT_ENTRY(isc_wait_for_event)
    GRAVLINK_CLIENT_ENTRY(isc_transaction_info)
    GRAVLINK_CLIENT_ENTRY(isc_rollback_retaining)
    GRAVLINK_CLIENT_ENTRY(isc_service_attach)
    GRAVLINK_CLIENT_ENTRY(isc_service_detach)
    GRAVLINK_CLIENT_ENTRY(isc_service_query)
    GRAVLINK_CLIENT_ENTRY(isc_service_start)
    GRAVLINK_CLIENT_ENTRY(isc_decode_sql_date)
    GRAVLINK_CLIENT_ENTRY(isc_decode_sql_time)
    GRAVLINK_CLIENT_ENTRY(isc_decode_timestamp)
    GRAVLINK_CLIENT_ENTRY(isc_encode_sql_date)
    GRAVLINK_CLIENT_ENTRY(isc_encode_sql_time)
    GRAVLINK_CLIENT_ENTRY(isc_encode_timestamp)
    GRAVLINK_CLIENT_ENTRY(isc_portable_integer)
    GRAVLINK_CLIENT_ENTRY(isc_get_client_version)
    GRAVLINK_CLIENT_ENTRY(isc_get_client_major_version)
    GRAVLINK_CLIENT_ENTRY(isc_get_client_minor_version)
    GRAVLINK_CLIENT_ENTRY(fb_interpret)
    GRAVLINK_CLIENT_ENTRY(fb_cancel_operation)
#undef GRAVLINK_CLIENT_ENTRY
};

using TClientLibraryRef = std::shared_ptr<IIBClientLibrary>;

// The shared binding for a file name, loaded on first request. A library that cannot
// be loaded fails with "Can't load library %s " (a plain Exception); one that lacks a
// required entry point fails with EOSError. Nothing is kept after a failure, so the
// next request tries the whole load again.
TClientLibraryRef AcquireClientLibrary(const std::string& libraryName);

// The calling thread's status vector; every client call passes it.
ISC_STATUS* StatusVector();

// The library a connection asks for when nothing else is set: "libfbclient.so.2" on
// Linux, "gds32.dll" on Windows.
extern const char* const DefaultLibraryName;
// Loaded in its place when the default cannot be: "fbclient.dll" on Windows, where
// a Firebird client installed without its gds32.dll copy has only that; none on Linux.
extern const char* const FallbackLibraryName;

} // namespace gravlink
