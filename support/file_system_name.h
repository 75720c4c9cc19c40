#pragma once

#include <string>
#include <string_view>

namespace gravlink {

// A path from the settings (Windows-1251) as the file system and the database
// server name it: in UTF-8, so that a Cyrillic folder typed in the settings is
// the folder on disk. ASCII paths pass unchanged.
std::string FileSystemName(std::string_view win1251Path);

} // namespace gravlink
