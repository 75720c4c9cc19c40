#include "support/code_page.h"
#include "support/wide_text.h"

namespace gravlink {

std::string Utf8ToWin1251(std::string_view utf8) {
    return Win1251OfWide(WideOfUtf8(utf8));
}

std::string Win1251ToUtf8(std::string_view win1251) {
    // Windows-1251 has a hole at 0x98, which the system would pass on as a control
    // character.
    std::string text(win1251);
    for (char& c : text)
        if (static_cast<unsigned char>(c) == 0x98)
            c = '?';
    return Utf8OfWide(WideOfWin1251(text));
}

} // namespace gravlink
