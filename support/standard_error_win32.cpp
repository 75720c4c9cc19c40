#include "support/standard_error.h"
#include "support/wide_text.h"

#include <cstdio>
#include <string>
#include <windows.h>

namespace gravlink {

void WriteStandardErrorLine(std::string_view win1251) {
    // Standard error is a text stream here: its "\n" already goes out as CR LF.
    std::string text;
    for (size_t i = 0; i < win1251.size(); ++i)
        if (!(win1251[i] == '\r' && i + 1 < win1251.size() && win1251[i + 1] == '\n'))
            text += win1251[i];
    // A console shows its own code page (866 on a Russian Windows); a file or a
    // pipe gets UTF-8.
    const UINT codePage = GetConsoleOutputCP();
    const std::wstring wide = WideOfWin1251(text);
    std::string out;
    if (!wide.empty()) {
        const UINT target = codePage != 0 ? codePage : CP_UTF8;
        const int size = static_cast<int>(wide.size());
        const int length =
            WideCharToMultiByte(target, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
        out.resize(static_cast<size_t>(length));
        WideCharToMultiByte(target, 0, wide.data(), size, out.data(), length, nullptr, nullptr);
    }
    std::fprintf(stderr, "%s\n", out.c_str());
}

} // namespace gravlink
