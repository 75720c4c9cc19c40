#pragma once

#include "support/exception.h"

#include <string>
#include <utility>

namespace gravlink {

// A report that the error log could not take. It is the log's own file failure, its
// message and numbers unchanged, together with the log's path and the report it lost,
// so that an unattended run can still say on the console which file failed, why, and
// what it was about to record.
class EErrorLogFailure : public EInOutError {
public:
    EErrorLogFailure(const EInOutError& failure, std::string path, std::string lostText)
        : EInOutError(failure), FPath(std::move(path)), FLostText(std::move(lostText)) {}

    const std::string& Path() const noexcept { return FPath; }
    const std::string& LostText() const noexcept { return FLostText; }

private:
    std::string FPath;
    std::string FLostText;
};

// A report text as the console shows it: UTF-8, lines ended by LF alone.
std::string ConsoleText(const std::string& text);
// One line on standard error naming the error log that failed, the system's reason and
// the failure's own text as the top-level handler shows it.
void PrintErrorLogFailure(const EErrorLogFailure& failure);

} // namespace gravlink
