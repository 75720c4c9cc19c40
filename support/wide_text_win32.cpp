#include "support/wide_text.h"

#include <windows.h>

namespace gravlink {
namespace {

constexpr UINT Win1251 = 1251;

std::wstring WideOf(UINT codePage, std::string_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string NarrowOf(UINT codePage, std::wstring_view wide) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    // No "best fit": a character the code page lacks is "?", never a look-alike.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
    const int length =
        WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, fallback, nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, fallback, nullptr);
    return text;
}

} // namespace

std::wstring WideOfWin1251(std::string_view win1251) {
    return WideOf(Win1251, win1251);
}

std::string Win1251OfWide(std::wstring_view wide) {
    return NarrowOf(Win1251, wide);
}

std::wstring WideOfUtf8(std::string_view utf8) {
    return WideOf(CP_UTF8, utf8);
}

std::string Utf8OfWide(std::wstring_view wide) {
    return NarrowOf(CP_UTF8, wide);
}

} // namespace gravlink
