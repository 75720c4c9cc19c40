#include "fib/sql_params.h"

#include "fib/fib_error.h"

#include <string_view>

namespace gravlink {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsNameChar(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '#' ||
           c == '%' || c == '.';
}

[[noreturn]] void ParseError(const std::string& statementName, const char* reason) {
    RaiseClientError(feSQLParseError, {statementName, std::string(reason)});
}

// Length of the literal starting at i (quote included up to the closing quote); npos
// when it never closes. A doubled quote stands for itself.
size_t LiteralEnd(const std::string& text, size_t i) {
    const char quote = text[i];
    for (size_t j = i + 1; j < text.size(); ++j) {
        if (text[j] != quote)
            continue;
        if (j + 1 < text.size() && text[j + 1] == quote) {
            ++j;
            continue;
        }
        return j + 1;
    }
    return std::string::npos;
}

// Firebird's alternative quoting: q'<c>...<c>', where an opening ( [ { < closes
// with its partner. The text between holds apostrophes as they are.
bool StartsAlternativeLiteral(const std::string& text, size_t i) {
    return text[i] == '\'' && i >= 1 && (text[i - 1] == 'q' || text[i - 1] == 'Q') &&
           (i == 1 || !IsNameChar(text[i - 2])) && i + 1 < text.size() && !IsBlank(text[i + 1]);
}

// The end of the string that starts at i (a quote); npos when it never closes.
size_t StringEnd(const std::string& text, size_t i) {
    if (!StartsAlternativeLiteral(text, i))
        return LiteralEnd(text, i);
    const char open = text[i + 1];
    const std::string_view pairs = "([{<)]}>";
    const size_t pair = pairs.find(open);
    const char close = pair != std::string_view::npos && pair < 4 ? pairs[pair + 4] : open;
    const size_t end = text.find(std::string{close, '\''}, i + 2);
    return end == std::string::npos ? end : end + 2;
}

bool StartsBlockComment(const std::string& text, size_t i) {
    return text[i] == '/' && i + 1 < text.size() && text[i + 1] == '*';
}

bool StartsLineComment(const std::string& text, size_t i) {
    return text[i] == '-' && i + 1 < text.size() && text[i + 1] == '-';
}

// True when a marker character stands outside literals and comments. Unterminated
// literals and comments end the search quietly: only a rewrite reports them.
bool HasMarker(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\'' || c == '"') {
            i = StringEnd(text, i);
        } else if (StartsBlockComment(text, i)) {
            const size_t end = text.find("*/", i + 2);
            i = end == std::string::npos ? end : end + 2;
        } else if (StartsLineComment(text, i)) {
            i = text.find('\n', i);
        } else {
            if (c == ':' || c == '?' || c == '@')
                return true;
            ++i;
        }
    }
    return false;
}

void AppendBlank(std::string& out) {
    if (!out.empty() && out.back() != ' ')
        out += ' ';
}

} // namespace

bool IsDataDefinitionText(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    size_t end = i;
    while (end < text.size() && IsAsciiLetter(text[end]))
        ++end;
    std::string word = text.substr(i, end - i);
    for (char& c : word)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return word == "ALTER" || word == "CREATE" || word == "DROP" || word == "RECREATE";
}

TProcessedSQL RecognizeParams(const std::string& text, const std::string& statementName) {
    if (!HasMarker(text))
        return {text, {}};

    TProcessedSQL result;
    std::string& out = result.Text;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\'' || c == '"') {
            const size_t end = StringEnd(text, i);
            if (end == std::string::npos)
                ParseError(statementName, "EOF in string detected");
            out.append(text, i, end - i);
            i = end;
        } else if (StartsBlockComment(text, i)) {
            const size_t end = text.find("*/", i + 2);
            if (end == std::string::npos)
                ParseError(statementName, "EOF in comment detected");
            AppendBlank(out);
            i = end + 2;
        } else if (StartsLineComment(text, i)) {
            const size_t end = text.find('\n', i);
            AppendBlank(out);
            i = end == std::string::npos ? text.size() : end + 1;
        } else if (IsBlank(c)) {
            AppendBlank(out);
            ++i;
        } else if (c == ':' || c == '?') {
            size_t j = i + 1;
            std::string name;
            if (j < text.size() && text[j] == '"') {
                const size_t end = LiteralEnd(text, j);
                if (end == std::string::npos)
                    ParseError(statementName, "EOF in string detected");
                name = text.substr(j + 1, end - j - 2);
                j = end;
            } else {
                while (j < text.size() && IsNameChar(text[j]))
                    ++j;
                name = text.substr(i + 1, j - i - 1);
            }
            if (name.empty())
                ParseError(statementName, "Parameter name expected");
            result.ParamNames.push_back(std::move(name));
            out += '?';
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return result;
}

} // namespace gravlink
