#include "fib/ib_client_library.h"

#include "fib/stop_request.h"
#include "support/shared_library.h"

#include <array>
#include <mutex>
#include <vector>

namespace gravlink {

namespace {

constexpr std::array<const char*, EntryPointCount> EntryPointNames = {
    "BLOB_get",
    "BLOB_put",
    "isc_sqlcode",
    "isc_sql_interprete",
    "isc_interprete",
    "isc_vax_integer",
    "isc_blob_info",
    "isc_open_blob2",
    "isc_close_blob",
    "isc_get_segment",
    "isc_put_segment",
    "isc_create_blob2",
    "isc_decode_date",
    "isc_encode_date",
    "isc_dsql_free_statement",
    "isc_dsql_execute2",
    "isc_dsql_execute",
    "isc_dsql_set_cursor_name",
    "isc_dsql_fetch",
    "isc_dsql_sql_info",
    "isc_dsql_alloc_statement2",
    "isc_dsql_prepare",
    "isc_dsql_describe_bind",
    "isc_dsql_describe",
    "isc_dsql_execute_immediate",
    "isc_dsql_exec_immed2",
    "isc_drop_database",
    "isc_detach_database",
    "isc_attach_database",
    "isc_database_info",
    "isc_start_multiple",
    "isc_commit_transaction",
    "isc_commit_retaining",
    "isc_rollback_transaction",
    "isc_cancel_events",
    "isc_que_events",
    "isc_event_counts",
    "isc_event_block",
    "isc_free",
    "isc_array_lookup_bounds",
    "isc_array_get_slice",
    "isc_array_put_slice",
    "isc_wait_for_event",
    "isc_transaction_info",
    "isc_rollback_retaining",
    "isc_service_attach",
    "isc_service_detach",
    "isc_service_query",
    "isc_service_start",
    "isc_decode_sql_date",
    "isc_decode_sql_time",
    "isc_decode_timestamp",
    "isc_encode_sql_date",
    "isc_encode_sql_time",
    "isc_encode_timestamp",
    "isc_portable_integer",
    "isc_get_client_version",
    "isc_get_client_major_version",
    "isc_get_client_minor_version",
    "fb_interpret",
    "fb_cancel_operation",
};

// The loader reports no error number for a missing entry point; it reads as the loader's
// "procedure not found".
constexpr int ProcedureNotFoundCode = 127;

class TIBClientLibrary final : public IIBClientLibrary {
public:
    explicit TIBClientLibrary(std::string libraryName) : FLibraryName(std::move(libraryName)) {}

    const std::string& LibraryName() const override { return FLibraryName; }
    int ClientMajorVersion() const override { return FClientMajorVersion; }
    int ClientMinorVersion() const override { return FClientMinorVersion; }

    void* EntryPoint(TEntryPoint entry) const override {
        void* address = FEntryPoints[static_cast<size_t>(entry)];
        if (!address)
            throw Exception("Can't find procedure " + std::string(EntryPointName(entry)) + " in " +
                            FLibraryName);
        return address;
    }

    bool Provides(TEntryPoint entry) const override {
        return FEntryPoints[static_cast<size_t>(entry)] != nullptr;
    }

    void Load() {
        if (!LoadModule())
            throw Exception("Can't load library " + FLibraryName + " ");
        ResolveRequired(0, RequiredEntryPointCount);
        if (Resolve(TEntryPoint::isc_rollback_retaining)) {
            ResolveRequired(static_cast<int>(TEntryPoint::isc_service_attach),
                            static_cast<int>(TEntryPoint::isc_portable_integer) + 1);
            FClientMajorVersion = 6;
            FClientMinorVersion = 0;
        } else {
            FClientMajorVersion = 5;
            FClientMinorVersion = 0;
        }
        if (Resolve(TEntryPoint::isc_get_client_version)) {
            ResolveRequired(static_cast<int>(TEntryPoint::isc_get_client_major_version),
                            static_cast<int>(TEntryPoint::isc_get_client_minor_version) + 1);
            FClientMajorVersion = isc_get_client_major_version();
            FClientMinorVersion = isc_get_client_minor_version();
        }
        Resolve(TEntryPoint::fb_interpret);
        Resolve(TEntryPoint::fb_cancel_operation);
        TakeStopRequestsFromLibrary();
    }

private:
    // The default name falls back to the Firebird client's own file where there is one.
    bool LoadModule() {
        if (FModule.Load(FLibraryName))
            return true;
        return FLibraryName == DefaultLibraryName && FallbackLibraryName != nullptr &&
               FModule.Load(FallbackLibraryName);
    }

    // The client library takes SIGINT and SIGTERM for an orderly shutdown of its
    // own and then lets the process run on, so that a scheduler or a logout could
    // not stop the program; at times it even loses the thread that shuts it down, and
    // the signal is swallowed. The stop ends the process as it would without the
    // library, before the library closes anything: a stopped run commits no stamps.
    // Its shutdown is answered at the first phase, the only one that may refuse it.
    // On Windows the console's stop events are routed to that shutdown.
    void TakeStopRequestsFromLibrary() {
        using TShutdownCallback =
            ISC_STATUS (*)(ISC_STATUS*, FB_SHUTDOWN_CALLBACK, const int, void*);
        auto* registerCallback =
            reinterpret_cast<TShutdownCallback>(FModule.EntryPoint("fb_shutdown_callback"));
        if (registerCallback == nullptr) {
            RouteStopRequests(nullptr);
            return;
        }
        ISC_STATUS_ARRAY status{};
        registerCallback(status, &AnswerShutdown, fb_shut_confirmation, nullptr);
        RouteStopRequests(reinterpret_cast<TClientShutdown>(FModule.EntryPoint("fb_shutdown")));
    }

    // Non-zero refuses the shutdown.
    static int AnswerShutdown(const int reason, const int, void*) {
        return reason == fb_shutrsn_signal && !AnswerClientShutdown() ? 1 : 0;
    }

    bool Resolve(TEntryPoint entry) {
        void* address = FModule.EntryPoint(EntryPointName(entry));
        FEntryPoints[static_cast<size_t>(entry)] = address;
        return address != nullptr;
    }

    void ResolveRequired(int first, int end) {
        for (int index = first; index < end; ++index) {
            if (Resolve(static_cast<TEntryPoint>(index)))
                continue;
            if (FModule.Error().empty())
                throw EOSError(0, "A call to an OS function failed");
            throw EOSError(ProcedureNotFoundCode,
                           "System Error.  Code: " + std::to_string(ProcedureNotFoundCode) +
                               ".\r\n" + FModule.Error());
        }
    }

    std::string FLibraryName;
    TSharedLibrary FModule;
    int FClientMajorVersion = 0;
    int FClientMinorVersion = 0;
    std::array<void*, EntryPointCount> FEntryPoints{};
};

// Every binding loaded by the process; it keeps each module loaded to the end.
struct TLibraryList {
    std::mutex Lock;
    std::vector<TClientLibraryRef> Items;
};

TLibraryList& Libraries() {
    static TLibraryList list;
    return list;
}

TClientLibraryRef FindLibrary(const std::string& libraryName) {
    TLibraryList& list = Libraries();
    std::lock_guard guard(list.Lock);
    for (const TClientLibraryRef& library : list.Items)
        if (library->LibraryName() == libraryName)
            return library;
    return nullptr;
}

} // namespace

const char* EntryPointName(TEntryPoint entry) {
    return EntryPointNames[static_cast<size_t>(entry)];
}

TClientLibraryRef AcquireClientLibrary(const std::string& libraryName) {
    if (TClientLibraryRef found = FindLibrary(libraryName))
        return found;
    auto library = std::make_shared<TIBClientLibrary>(libraryName);
    library->Load();
    TLibraryList& list = Libraries();
    std::lock_guard guard(list.Lock);
    list.Items.push_back(library);
    return library;
}

ISC_STATUS* StatusVector() {
    thread_local ISC_STATUS_ARRAY status{};
    return status;
}

} // namespace gravlink
