#pragma once

#include <string>
#include <utility>

namespace gravlink {

// Root of every failure the system raises. The message is Windows-1251 text,
// as every text of the system is; what() hands out the same bytes.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}

    const std::string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// A failed file operation; ErrorCode is the number its message was chosen by, and
// SystemError the errno it failed with (0 when the system reported none).
class EInOutError : public Exception {
public:
    EInOutError(int errorCode, std::string message, int systemError = 0)
        : Exception(std::move(message)), FErrorCode(errorCode), FSystemError(systemError) {}

    int ErrorCode() const noexcept { return FErrorCode; }
    int SystemError() const noexcept { return FSystemError; }

private:
    int FErrorCode;
    int FSystemError;
};

// The message of any failure, as reports and the top-level handler show it.
inline std::string FailureMessage(const std::exception& failure) {
    if (const auto* own = dynamic_cast<const Exception*>(&failure))
        return own->Message();
    return failure.what();
}

} // namespace gravlink
