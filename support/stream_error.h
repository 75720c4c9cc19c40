#pragma once

#include "support/exception.h"

#include <string>

namespace gravlink {

// A failed whole-file read or write of a document.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};

// "Cannot open file "<path>". <system error text>"
class EFOpenError : public EStreamError {
public:
    EFOpenError(const std::string& path, int systemError);
};

// "Cannot create file "<path>". <system error text>"
class EFCreateError : public EStreamError {
public:
    EFCreateError(const std::string& path, int systemError);
};

// "Stream read error": the file could not be read completely.
class EReadError : public EStreamError {
public:
    EReadError();
};

// "Stream write error": the file could not be written completely.
class EWriteError : public EStreamError {
public:
    EWriteError();
};

} // namespace gravlink
