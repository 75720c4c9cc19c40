// Any connection and transaction parameter lines: the blocks are built or refused with
// the layer's own error; nothing else escapes, and no sanitizer has anything to report.
#include "fib/database_params.h"
#include "fib/transaction_params.h"
#include "support/exception.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    gravlink::TParamLines database;
    database.Assign(Lines(text));
    try {
        (void)gravlink::BuildDatabaseParamBlock(database);
    } catch (const gravlink::Exception&) {
    }
    gravlink::TParamLines transaction;
    transaction.Assign(Lines(text));
    try {
        (void)gravlink::BuildTransactionParamBlock(transaction);
    } catch (const gravlink::Exception&) {
    }
    return 0;
}
