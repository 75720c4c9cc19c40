#include "fib/statement_handle.h"

namespace gravlink {

TStatementHandle::~TStatementHandle() {
    if (Held())
        Drop();
}

ISC_STATUS TStatementHandle::Drop() {
    if (!Held() || !FLibrary) {
        FHandle = 0;
        return 0;
    }
    const ISC_STATUS result =
        FLibrary->isc_dsql_free_statement(StatusVector(), &FHandle, DSQL_drop);
    FHandle = 0;
    return result;
}

} // namespace gravlink
