#pragma once

#include "fib/param_lines.h"

#include <string>

namespace gravlink {

// The transaction parameter block for the transaction's parameter lines: empty when
// there are none, else the version byte 3 and one item per line. Each line is trimmed
// and written back first. An unknown name fails with message 11, a known one the
// layer does not send with message 10.
std::string BuildTransactionParamBlock(TParamLines& lines);

} // namespace gravlink
