#pragma once

#include <string>
#include <string_view>

namespace gravlink {

// The system's text is Windows-1251; the sources, the terminal and Qt speak UTF-8.
// A character that Windows-1251 lacks becomes "?"; bytes that are not UTF-8 are
// taken one by one as Windows-1251 would have them misread.
std::string Utf8ToWin1251(std::string_view utf8);
std::string Win1251ToUtf8(std::string_view win1251);

} // namespace gravlink
