#include "app/command_line.h"

#include "support/path_delimiter.h"

namespace gravlink {
namespace {

bool IsControlOrBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

std::string TrimmedArgument(const TCommandLine& commandLine, size_t number) {
    if (number == 0 || number > commandLine.Arguments.size())
        return {};
    const std::string& text = commandLine.Arguments[number - 1];
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsControlOrBlank(text[first]))
        ++first;
    while (last > first && IsControlOrBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

bool IsAutoMode(const TCommandLine& commandLine) {
    return TrimmedArgument(commandLine, 1) == "-auto";
}

std::string SettingsFileName(const TCommandLine& commandLine) {
    std::string name = TrimmedArgument(commandLine, 2);
    return name.empty() ? DefaultSettingsFile : name;
}

std::string FolderOf(const std::string& path) {
    size_t end = path.size();
    while (end > 0 && !IsPathDelimiter(path[end - 1]))
        --end;
    return path.substr(0, end);
}

} // namespace gravlink
