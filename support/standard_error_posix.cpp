#include "support/code_page.h"
#include "support/standard_error.h"

#include <cstdio>
#include <string>

namespace gravlink {

void WriteStandardErrorLine(std::string_view win1251) {
    // A terminal ends its lines with LF alone.
    std::string text = Win1251ToUtf8(win1251);
    std::erase(text, '\r');
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace gravlink
