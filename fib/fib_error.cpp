#include "fib/fib_error.h"

#include "fib/fib_component.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace gravlink {

namespace {

// Entries of features outside the system (BLOB writing, arrays, events, services,
// editing, cached updates, the SQL trace, the login prompt) keep their numbers.
constexpr const char* Reserved = "Not supported.";

constexpr std::array<const char*, ClientErrorMessageCount> ClientErrorMessages = {
    /* 0 */ "Unknown error.",
    /* 1 */ Reserved,
    /* 2 */ "Not permitted.",
    /* 3 */ Reserved,
    /* 4 */ Reserved,
    /* 5 */ Reserved,
    /* 6 */ Reserved,
    /* 7 */ "Operation cancelled at user's request.",
    /* 8 */ "DPB Constant (isc_dpb_%s) is unsupported.",
    /* 9 */ "DPB Constant (%s) is unknown.",
    /* 10 */ "TPB Constant (isc_tpb_%s) is unsupported.",
    /* 11 */ "TPB Constant (%s) is unknown.",
    /* 12 */ "%s: Cannot perform operation -- DB is not open.",
    /* 13 */ "Cannot perform operation -- DB is currently open.",
    /* 14 */ "Database name is missing.",
    /* 15 */ "%s :Transaction is not active.",
    /* 16 */ "%s :Transaction is active.",
    /* 17 */ "Timeout values cannot be negative.",
    /* 18 */ "%s :No databases are listed in transaction component.",
    /* 19 */ Reserved,
    /* 20 */ Reserved,
    /* 21 */ "Database not assigned for %s.",
    /* 22 */ "Transaction not assigned for %s.",
    /* 23 */ "XSQLDA index out of range.",
    /* 24 */ Reserved,
    /* 25 */ Reserved,
    /* 26 */ Reserved,
    /* 27 */ Reserved,
    /* 28 */ "Can't %s because %s dataset open.",
    /* 29 */ "Can't %s because %s dataset closed.",
    /* 30 */ "Unknown SQL Data type (%d).",
    /* 31 */ Reserved,
    /* 32 */ Reserved,
    /* 33 */ "Invalid data conversion.",
    /* 34 */ Reserved,
    /* 35 */ Reserved,
    /* 36 */ Reserved,
    /* 37 */ "Can't %s , because  query is empty",
    /* 38 */ Reserved,
    /* 39 */ Reserved,
    /* 40 */ Reserved,
    /* 41 */ "Field \"%s\" not found.",
    /* 42 */ Reserved,
    /* 43 */ Reserved,
    /* 44 */ Reserved,
    /* 45 */ Reserved,
    /* 46 */ Reserved,
    /* 47 */ Reserved,
    /* 48 */ Reserved,
    /* 49 */ Reserved,
    /* 50 */ Reserved,
    /* 51 */ "SQL Parse Error in :%s \r\n\r\n%s",
    /* 52 */ Reserved,
    /* 53 */ Reserved,
    /* 54 */ Reserved,
    /* 55 */ Reserved,
    /* 56 */ Reserved,
    /* 57 */ Reserved,
    /* 58 */ Reserved,
    /* 59 */ Reserved,
    /* 60 */ Reserved,
    /* 61 */ "SQL Dialect invalid",
    /* 62 */ Reserved,
    /* 63 */ Reserved,
    /* 64 */ Reserved,
    /* 65 */ Reserved,
    /* 66 */ Reserved,
    /* 67 */ Reserved,
    /* 68 */ Reserved,
    /* 69 */ Reserved,
    /* 70 */ Reserved,
    /* 71 */ Reserved,
    /* 72 */ Reserved,
    /* 73 */ Reserved,
    /* 74 */ "Field Size too small. Field %s.%s",
};

std::string ArgText(const TFormatArg& arg) {
    if (const auto* text = std::get_if<std::string>(&arg))
        return *text;
    return std::to_string(std::get<long long>(arg));
}

std::string Prefix(const TComponent* sender) {
    return sender ? FullName(sender) + ":\r\n" : std::string();
}

// The SQL sentence is written into a buffer of this size.
constexpr size_t SqlInterpreteBufferSize = 512;
// One engine message: it may carry a file name or an exception's whole text. The
// sized call cuts a longer one; a client without it is given room to spare.
constexpr size_t InterpreteBufferSize = 65536;

// The next engine message into buffer, advancing cursor; false at the end.
bool NextEngineMessage(const IIBClientLibrary& library, std::vector<char>& buffer,
                       ISC_STATUS** cursor) {
    std::fill(buffer.begin(), buffer.end(), '\0');
    if (library.Provides(TEntryPoint::fb_interpret)) {
        const ISC_STATUS* position = *cursor;
        const ISC_LONG length =
            library.fb_interpret(buffer.data(), static_cast<unsigned>(buffer.size()), &position);
        *cursor = const_cast<ISC_STATUS*>(position);
        return length > 0;
    }
    return library.isc_interprete(buffer.data(), cursor) > 0;
}

} // namespace

EFIBError::EFIBError(int sqlCode, const TComponent* sender, const std::string& text,
                     std::string sqlMessage, std::string iscMessage)
    : EDatabaseError(Prefix(sender) + text), FSqlCode(sqlCode),
      FIscErrorCode(static_cast<int>(StatusVector()[1])), FSqlMessage(std::move(sqlMessage)),
      FIscMessage(std::move(iscMessage)), FSender(sender) {}

const char* ClientErrorMessage(int number) {
    if (number < 0 || number >= ClientErrorMessageCount)
        return ClientErrorMessages[feUnknownError];
    return ClientErrorMessages[static_cast<size_t>(number)];
}

std::string FormatText(const std::string& format, std::initializer_list<TFormatArg> args) {
    std::string result;
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            result += c;
            continue;
        }
        const char conversion = format[++i];
        if (conversion == '%') {
            result += '%';
        } else if (next != args.end()) {
            result += ArgText(*next++);
        }
    }
    return result;
}

void RaiseClientError(int number, std::initializer_list<TFormatArg> args) {
    throw EFIBClientError(number, nullptr, FormatText(ClientErrorMessage(number), args));
}

TStatusText ComposeStatusText(const IIBClientLibrary& library, ISC_STATUS* status) {
    TStatusText result{};
    result.SqlCode = static_cast<int>(library.isc_sqlcode(status));

    char sqlBuffer[SqlInterpreteBufferSize] = {};
    library.isc_sql_interprete(static_cast<short>(result.SqlCode), sqlBuffer,
                               static_cast<short>(sizeof sqlBuffer));
    result.SqlMessage.assign(sqlBuffer, strnlen(sqlBuffer, sizeof sqlBuffer));
    if (!result.SqlMessage.empty() && result.SqlMessage.back() != '.')
        result.SqlMessage += '.';

    std::vector<char> buffer(InterpreteBufferSize);
    ISC_STATUS* cursor = status;
    while (NextEngineMessage(library, buffer, &cursor)) {
        std::string text(buffer.data(), strnlen(buffer.data(), buffer.size()));
        if (text.empty())
            continue;
        result.IscMessage += text;
        if (result.IscMessage.back() != '.')
            result.IscMessage += '.';
        result.IscMessage += "\r\n";
    }
    return result;
}

void RaiseStatusError(const IIBClientLibrary& library, const TComponent* sender) {
    TStatusText text = ComposeStatusText(library, StatusVector());
    throw EFIBInterBaseError(text.SqlCode, sender, text.SqlMessage + text.IscMessage,
                             text.SqlMessage, text.IscMessage);
}

bool StatusHoldsError(long errorCode) {
    const ISC_STATUS* status = StatusVector();
    for (size_t i = 0; i + 1 < ISC_STATUS_LENGTH && status[i] != isc_arg_end;) {
        const ISC_STATUS kind = status[i];
        if (kind == isc_arg_gds && status[i + 1] == errorCode)
            return true;
        // A counted string takes a length and an address; every other argument one value.
        i += kind == isc_arg_cstring ? 3 : 2;
    }
    return false;
}

} // namespace gravlink
