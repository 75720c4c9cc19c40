#include "app/error_log_failure.h"

#include "app/frm_main.h"
#include "support/code_page.h"

#include <cstdio>
#include <system_error>

namespace gravlink {

std::string ConsoleText(const std::string& text) {
    std::string console = Win1251ToUtf8(text);
    std::erase(console, '\r');
    return console;
}

void PrintErrorLogFailure(const EErrorLogFailure& failure) {
    const std::string reason = failure.SystemError() != 0
                                   ? std::system_category().message(failure.SystemError())
                                   : ConsoleText(failure.Message());
    std::fprintf(stderr, "gravlink: cannot write the error log %s: %s (%s)\n",
                 failure.Path().c_str(), reason.c_str(),
                 ConsoleText(TopLevelText(failure.Message())).c_str());
}

} // namespace gravlink
