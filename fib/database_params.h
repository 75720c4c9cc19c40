#pragma once

#include "fib/param_lines.h"

#include <string>

namespace gravlink {

// The database parameter block for the connection's parameter lines: the version
// byte, then one item per line in line order. Each line is trimmed and written back
// first. An unknown name fails with message 9, a known one the layer does not send
// with message 8, a numeric value that is not an integer with EConvertError; the
// lines before the failing one stay trimmed.
std::string BuildDatabaseParamBlock(TParamLines& lines);

// The code of a database parameter name ("lc_ctype" is 48), 0 for an unknown name.
int DatabaseParamCode(const std::string& name);

} // namespace gravlink
