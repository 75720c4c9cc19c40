#pragma once

#include "fib/ib_client_library.h"
#include "support/exception.h"

#include <initializer_list>
#include <string>
#include <variant>

namespace gravlink {

class TComponent;

// Any failure of database access.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

// A failure of the access layer. The message starts with the sender's full name,
// ":" and CR LF when a sender is given.
class EFIBError : public EDatabaseError {
public:
    EFIBError(int sqlCode, const TComponent* sender, const std::string& text,
              std::string sqlMessage = {}, std::string iscMessage = {});

    // The SQLCODE of the status, or the number of the access layer's message.
    int SqlCode() const noexcept { return FSqlCode; }
    // Element 1 of the thread's status vector when the failure was made.
    int IscErrorCode() const noexcept { return FIscErrorCode; }
    const std::string& SqlMessage() const noexcept { return FSqlMessage; }
    const std::string& IscMessage() const noexcept { return FIscMessage; }
    // The component whose client call failed; it may be gone by the time the
    // failure is caught, so only its identity is meaningful.
    const TComponent* Sender() const noexcept { return FSender; }

private:
    int FSqlCode;
    int FIscErrorCode;
    std::string FSqlMessage;
    std::string FIscMessage;
    const TComponent* FSender;
};

// Reported by the server or the client library through the status vector.
class EFIBInterBaseError : public EFIBError {
public:
    using EFIBError::EFIBError;
};

// Found by the access layer itself; SqlCode is the number of its message.
class EFIBClientError : public EFIBError {
public:
    using EFIBError::EFIBError;
};

// The access layer's numbered message formats, 0 to 74. Numbers of features the
// system lacks are kept reserved with a placeholder text.
inline constexpr int ClientErrorMessageCount = 75;
const char* ClientErrorMessage(int number);

// Message numbers the layer raises.
enum TFIBClientErrorNo {
    feUnknownError = 0,
    feNotPermitted = 2,
    feDPBConstantNotSupported = 8,
    feDPBConstantUnknown = 9,
    feTPBConstantNotSupported = 10,
    feTPBConstantUnknown = 11,
    feDatabaseClosed = 12,
    feDatabaseOpen = 13,
    feDatabaseNameMissing = 14,
    feNotInTransaction = 15,
    feInTransaction = 16,
    feTimeoutNegative = 17,
    feNoDatabasesInTransaction = 18,
    feDatabaseNotAssigned = 21,
    feTransactionNotAssigned = 22,
    feXSQLDAIndexOutOfRange = 23,
    feDatasetOpen = 28,
    feDatasetClosed = 29,
    feUnknownSQLDataType = 30,
    feInvalidDataConversion = 33,
    feEmptyQuery = 37,
    feFieldNotFound = 41,
    feSQLParseError = 51,
    feSQLDialectInvalid = 61,
    feFieldSizeTooSmall = 74,
};

// An argument of a message format: text for "%s", an integer for "%d".
using TFormatArg = std::variant<std::string, long long>;

// The format filled with the arguments in order ("%%" stands for "%").
std::string FormatText(const std::string& format, std::initializer_list<TFormatArg> args);

// Raises EFIBClientError with message number filled with args; no sender.
[[noreturn]] void RaiseClientError(int number, std::initializer_list<TFormatArg> args = {});

// Raises EFIBInterBaseError composed from the calling thread's status vector through
// library, with sender leading the message.
[[noreturn]] void RaiseStatusError(const IIBClientLibrary& library, const TComponent* sender);

// The message RaiseStatusError would raise, split into its SQL and engine parts.
struct TStatusText {
    int SqlCode;
    std::string SqlMessage;
    std::string IscMessage;
};
TStatusText ComposeStatusText(const IIBClientLibrary& library, ISC_STATUS* status);

// True when the thread's status vector holds errorCode among its error codes.
bool StatusHoldsError(long errorCode);

} // namespace gravlink
