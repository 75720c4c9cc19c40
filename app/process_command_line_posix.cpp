#include "app/command_line.h"

#include <filesystem>
#include <system_error>

namespace gravlink {

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
