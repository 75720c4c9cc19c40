#pragma once

#include "support/exception.h"

#include <string>

namespace gravlink {

// A text that does not read as a number: "'%s' is not a valid integer value".
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A decimal integer with an optional sign and nothing around it; anything else, or a
// value outside 32 bits, fails with EConvertError.
int StrToInt(const std::string& text);

} // namespace gravlink
