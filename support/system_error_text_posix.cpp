#include "support/code_page.h"
#include "support/system_error_text.h"

#include <cstring>

namespace gravlink {

// The C library speaks the locale's UTF-8; the system's messages are Windows-1251.
std::string SystemErrorText(int code) {
    return Utf8ToWin1251(std::strerror(code));
}

} // namespace gravlink
