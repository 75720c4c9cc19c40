#include "fib/transaction_params.h"

#include "fib/fib_error.h"

#include <array>
#include <ibase.h>

namespace gravlink {

namespace {

// The names of the transaction parameter items; each one's code is its position from 1.
constexpr std::array<const char*, 20> TransactionParamNames = {
    "consistency", "concurrency",    "shared",           "protected",
    "exclusive",   "wait",           "nowait",           "read",
    "write",       "lock_read",      "lock_write",       "verb_time",
    "commit_time", "ignore_limbo",   "read_committed",   "autocommit",
    "rec_version", "no_rec_version", "restart_requests", "no_auto_undo",
};

int TransactionParamCode(const std::string& name) {
    for (size_t i = 0; i < TransactionParamNames.size(); ++i)
        if (name == TransactionParamNames[i])
            return static_cast<int>(i) + 1;
    return 0;
}

void AppendItem(std::string& block, const TParamItem& item) {
    const int code = TransactionParamCode(item.Name);
    switch (code) {
    case isc_tpb_lock_read:
    case isc_tpb_lock_write:
        // The length travels in one byte; a longer name would wrap it.
        if (item.Value.size() > 255)
            throw EDatabaseError("TPB Constant (isc_tpb_" + item.Name +
                                 ") value is longer than 255 bytes.");
        block += static_cast<char>(code);
        block += static_cast<char>(static_cast<unsigned char>(item.Value.size()));
        block += item.Value;
        return;
    case isc_tpb_verb_time:
    case isc_tpb_commit_time:
    case isc_tpb_autocommit:
    case isc_tpb_restart_requests:
    case isc_tpb_no_auto_undo:
        RaiseClientError(feTPBConstantNotSupported, {item.Name});
    case 0:
        RaiseClientError(feTPBConstantUnknown, {item.Name});
    default:
        block += static_cast<char>(code);
    }
}

} // namespace

std::string BuildTransactionParamBlock(TParamLines& lines) {
    lines.MarkBuilt();
    std::string block;
    if (lines.Count() == 0)
        return block;
    block += static_cast<char>(isc_tpb_version3);
    for (size_t i = 0; i < lines.Count(); ++i) {
        std::string line = TrimParamLine(lines[i]);
        lines.SetLine(i, line);
        if (line.empty())
            continue;
        AppendItem(block, SplitParamLine(line, "isc_tpb_"));
    }
    return block;
}

} // namespace gravlink
