#pragma once

#include <string>
#include <vector>

namespace gravlink {

// The connection's parameter lines as the program sets them: WIN1251, and SYSDBA with
// the program's password, unless the user name or the password is given (not null,
// not empty), which then takes the place of its line. The rest stays as it is.
std::vector<std::string> ConnectionParamLines(const char* userName, const char* password);

// The same with ISC_USER and ISC_PASSWORD of the environment, the client library's own
// convention, so that a site runs the program under a Firebird user of its choosing.
std::vector<std::string> ConnectionParamLinesOfEnvironment();

} // namespace gravlink
