#pragma once

#include "fib/ib_client_library.h"

#include <memory>

namespace gravlink {

// A DSQL statement handle that is dropped on the server when it goes. The binding is
// held with it, so the library stays loaded as long as a handle may be dropped.
//
// The client keeps the address of the field it writes at allocation
// (isc_dsql_alloc_statement2) and zeroes that field whenever it lets the statement go:
// at a drop, at the detach, or, for a statement of a lost attachment, when the process
// ends. A field the client may still hold is therefore never freed: it is left to the
// client, and the handle goes on in a field of its own.
class TStatementHandle {
public:
    TStatementHandle() = default;
    ~TStatementHandle();
    TStatementHandle(const TStatementHandle&) = delete;
    TStatementHandle& operator=(const TStatementHandle&) = delete;

    bool Held() const { return *FField != 0; }
    isc_stmt_handle Value() const { return *FField; }
    // The field the client writes at allocation; remember the binding first.
    isc_stmt_handle* Field() { return FField.get(); }
    void Bind(TClientLibraryRef library) { FLibrary = std::move(library); }
    const TClientLibraryRef& Library() const { return FLibrary; }

    // isc_dsql_free_statement with DSQL_drop. The handle is 0 afterwards whatever the
    // server said; the result is the client's.
    ISC_STATUS Drop();
    // Lets the handle go without a server call (the attachment is already gone); a
    // field the client may still hold is left to it.
    void Forget();

private:
    // The client still has the statement: its field is left to it.
    void LeaveFieldToClient() noexcept;

    std::unique_ptr<isc_stmt_handle> FField = std::make_unique<isc_stmt_handle>(0);
    TClientLibraryRef FLibrary;
};

} // namespace gravlink
