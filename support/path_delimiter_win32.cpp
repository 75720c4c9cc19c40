#include "support/path_delimiter.h"

namespace gravlink {

const char PathDelimiter = '\\';

bool IsPathDelimiter(char c) {
    return c == '\\' || c == '/';
}

} // namespace gravlink
