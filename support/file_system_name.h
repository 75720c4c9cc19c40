#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace gravlink {

// A path from the settings (Windows-1251) as the file system and the database
// server name it: in UTF-8 on Linux, so that a Cyrillic folder typed in the settings
// is the folder on disk; unchanged on Windows, whose own 8-bit names are these and
// whose file calls take them widened to UTF-16. ASCII paths pass unchanged.
std::string FileSystemName(std::string_view win1251Path);

// The other way: a name as the file system has it (the program's own folder and the
// files beside it) as the system's Windows-1251 text for messages.
std::string Win1251FileName(std::string_view fileSystemName);

// The file system's path object for a name in FileSystemName's form (or for the
// program's own folder and the file names joined to it). A narrow path object on
// Windows would read the bytes in the wrong code page and name another file.
std::filesystem::path FileSystemPath(const std::string& name);

} // namespace gravlink
