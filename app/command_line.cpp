#include "app/command_line.h"

#include <filesystem>
#include <system_error>

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
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExecutablePath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.string();
}

TCommandLine ProcessCommandLine(int argc, char** argv) {
    TCommandLine commandLine;
    if (argc > 1)
        commandLine.Arguments.assign(argv + 1, argv + argc);
    commandLine.ExecutablePath = ExecutablePath();
    return commandLine;
}

} // namespace gravlink
