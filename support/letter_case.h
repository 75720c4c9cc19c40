#pragma once

#include <string_view>

namespace gravlink {

// Upper case of one Windows-1251 character: Latin and Cyrillic letters fold, so
// a column named "ExpWDT" finds "EXPWDT" and "Вес" finds "ВЕС".
char UpperCaseWin1251(char c);
// Equal but for letter case.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

} // namespace gravlink
