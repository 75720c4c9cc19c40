#pragma once

namespace gravlink {

// The folder separator the program puts into the paths it makes: "/" on Linux, "\"
// on Windows.
extern const char PathDelimiter;

// A character that ends a folder's name in a path: "/"; on Windows "\" and "/" alike.
bool IsPathDelimiter(char c);

} // namespace gravlink
