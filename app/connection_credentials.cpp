#include "app/connection_credentials.h"

#include <cstdlib>

namespace gravlink {

std::vector<std::string> ConnectionParamLines(const char* userName, const char* password) {
    const auto given = [](const char* value) { return value != nullptr && *value != '\0'; };
    return {"lc_ctype=WIN1251",
            std::string("password=") + (given(password) ? password : "quillbark"),
            std::string("user_name=") + (given(userName) ? userName : "SYSDBA")};
}

std::vector<std::string> ConnectionParamLinesOfEnvironment() {
    return ConnectionParamLines(std::getenv("ISC_USER"), std::getenv("ISC_PASSWORD"));
}

} // namespace gravlink
