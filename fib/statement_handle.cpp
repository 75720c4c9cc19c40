#include "fib/statement_handle.h"

#include <mutex>
#include <utility>
#include <vector>

namespace gravlink {

namespace {

// Fields of statements the client still has, kept for as long as the process lives:
// the client zeroes them at its own shutdown, after everything else has gone.
struct TClientHeldFields {
    std::mutex Lock;
    std::vector<std::unique_ptr<isc_stmt_handle>> Fields;
};

TClientHeldFields& ClientHeldFields() {
    static auto* fields = new TClientHeldFields; // never destroyed, see above
    return *fields;
}

} // namespace

TStatementHandle::~TStatementHandle() {
    if (Held())
        Drop();
}

ISC_STATUS TStatementHandle::Drop() {
    if (!Held() || !FLibrary) {
        Forget();
        return 0;
    }
    const ISC_STATUS result =
        FLibrary->isc_dsql_free_statement(StatusVector(), FField.get(), DSQL_drop);
    // A drop that the client carried out has zeroed the field; one that failed on its
    // way (a lost attachment) leaves the statement with the client.
    Forget();
    return result;
}

void TStatementHandle::Forget() {
    if (Held())
        LeaveFieldToClient();
}

void TStatementHandle::LeaveFieldToClient() noexcept {
    try {
        auto fresh = std::make_unique<isc_stmt_handle>(0);
        TClientHeldFields& held = ClientHeldFields();
        const std::lock_guard guard(held.Lock);
        held.Fields.push_back(std::exchange(FField, std::move(fresh)));
    } catch (...) {
        // Out of memory, from a destructor as likely as not: the field is kept and
        // zeroed, and the client may zero it once more.
        *FField = 0;
    }
}

} // namespace gravlink
