#pragma once

#include "fib/ib_client_library.h"

namespace gravlink {

// A DSQL statement handle that is dropped on the server when it goes. The binding is
// held with it, so the library stays loaded as long as a handle may be dropped.
class TStatementHandle {
public:
    TStatementHandle() = default;
    ~TStatementHandle();
    TStatementHandle(const TStatementHandle&) = delete;
    TStatementHandle& operator=(const TStatementHandle&) = delete;

    bool Held() const { return FHandle != 0; }
    isc_stmt_handle Value() const { return FHandle; }
    // The field the client writes at allocation; remember the binding first.
    isc_stmt_handle* Field() { return &FHandle; }
    void Bind(TClientLibraryRef library) { FLibrary = std::move(library); }
    const TClientLibraryRef& Library() const { return FLibrary; }

    // isc_dsql_free_statement with DSQL_drop. The handle is 0 afterwards whatever the
    // server said; the result is the client's.
    ISC_STATUS Drop();
    // Zeroes the handle without a server call (the attachment is already gone).
    void Forget() { FHandle = 0; }

private:
    isc_stmt_handle FHandle = 0;
    TClientLibraryRef FLibrary;
};

} // namespace gravlink
