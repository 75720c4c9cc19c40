#pragma once

#include <string_view>

namespace gravlink {

// Writes one text of the system (Windows-1251, CR LF inside) and a line end to
// standard error, in the terminal's terms: UTF-8 on Linux; on Windows the console's
// code page, every line ended by one CR LF.
void WriteStandardErrorLine(std::string_view win1251);

} // namespace gravlink
