#include "support/code_page.h"
#include "support/standard_error.h"

#include <cstdio>

namespace gravlink {

void WriteStandardErrorLine(std::string_view win1251) {
    std::fprintf(stderr, "%s\n", Win1251ToUtf8(win1251).c_str());
}

} // namespace gravlink
