#include "app/command_line.h"
#include "support/wide_text.h"

// clang-format off
#include <windows.h>
#include <shellapi.h> // needs windows.h first
// clang-format on

namespace gravlink {

std::string ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return Win1251OfWide(path);
        }
        path.resize(path.size() * 2);
    }
}

TCommandLine ProcessCommandLine(int, char**) {
    TCommandLine commandLine;
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments && i < count; ++i)
        commandLine.Arguments.push_back(Win1251OfWide(arguments[i]));
    LocalFree(arguments);
    commandLine.ExecutablePath = ExecutablePath();
    return commandLine;
}

} // namespace gravlink
