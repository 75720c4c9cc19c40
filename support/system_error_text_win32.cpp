#include "support/system_error_text.h"
#include "support/wide_text.h"

#include <windows.h>

namespace gravlink {

std::string SystemErrorText(int code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    LocalFree(buffer);
    // The system ends its texts with a full stop and a line break; the messages that
    // carry them go on after it.
    while (!text.empty() && (text.back() <= L' ' || text.back() == L'.'))
        text.pop_back();
    return Win1251OfWide(text);
}

} // namespace gravlink
