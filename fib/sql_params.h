#pragma once

#include <string>
#include <vector>

namespace gravlink {

// A statement text as it goes to the server: parameter markers replaced by "?", and
// the names of the markers in order of appearance.
struct TProcessedSQL {
    std::string Text;
    std::vector<std::string> ParamNames;
};

// True for texts that define data (ALTER, CREATE, DROP, RECREATE first); they are sent
// unchanged, without parameter recognition.
bool IsDataDefinitionText(const std::string& text);

// Recognises ":name" and "?name" markers outside literals and comments. A text without
// ":", "?" or "@" outside them is returned unchanged with no parameters; otherwise the
// text is rewritten from its normalised form (comments dropped, runs of white space
// made one blank). An unterminated literal or comment, or a marker without a name,
// fails with message 51 naming statementName.
TProcessedSQL RecognizeParams(const std::string& text, const std::string& statementName);

} // namespace gravlink
