#pragma once

#include <string>
#include <vector>

namespace gravlink {

// What the program was started with: its arguments after the program name, and
// the full path of its executable.
struct TCommandLine {
    std::vector<std::string> Arguments;
    std::string ExecutablePath;
};

inline constexpr const char* DefaultSettingsFile = "gravlink.ini";

// An argument without its leading and trailing characters of code 32 or below;
// a missing argument reads as an empty text.
std::string TrimmedArgument(const TCommandLine& commandLine, size_t number);
// Argument 1, trimmed, is "-auto" byte for byte.
bool IsAutoMode(const TCommandLine& commandLine);
// Argument 2, trimmed, or the default name when that is empty.
std::string SettingsFileName(const TCommandLine& commandLine);
// The folder part of a path, up to and including its last "/" (on Windows its last
// "\" or "/").
std::string FolderOf(const std::string& path);

// The executable's full path, as the system knows it (in Windows-1251 on Windows).
std::string ExecutablePath();
// The command line of this process, from the arguments main was given (on Windows
// from the system's own UTF-16 command line, in Windows-1251, whatever the code page
// of the C runtime's arguments).
TCommandLine ProcessCommandLine(int argc, char** argv);

} // namespace gravlink
