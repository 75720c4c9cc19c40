#pragma once

// Windows only: the system's 8-bit texts as the UTF-16 its "W" calls take and give.

#include <string>
#include <string_view>

namespace gravlink {

std::wstring WideOfWin1251(std::string_view win1251);
// A character Windows-1251 lacks becomes "?".
std::string Win1251OfWide(std::wstring_view wide);
// Bytes that are not UTF-8 become U+FFFD.
std::wstring WideOfUtf8(std::string_view utf8);
std::string Utf8OfWide(std::wstring_view wide);

} // namespace gravlink
