#include "ui/picker_formats.h"

#include "ui/qt_text.h"

#include <cctype>

namespace gravlink {

namespace {

size_t RunLength(const std::string& text, size_t at) {
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[at])));
    size_t end = at;
    while (end < text.size() && std::tolower(static_cast<unsigned char>(text[end])) == letter)
        ++end;
    return end - at;
}

bool StartsWithNoCase(const std::string& text, size_t at, const char* word) {
    for (size_t i = 0; word[i] != '\0'; ++i)
        if (at + i >= text.size() ||
            std::tolower(static_cast<unsigned char>(text[at + i])) != word[i])
            return false;
    return true;
}

// Text shown as it is, quoted where Qt would read it as a field.
void AppendLiteral(QString& format, const QString& text) {
    for (const QChar c : text) {
        if (c.isLetter())
            format += QLatin1Char('\'') + c + QLatin1Char('\'');
        else if (c == QLatin1Char('\''))
            format += QStringLiteral("''");
        else
            format += c;
    }
}

void AppendSeparator(QString& format, char separator) {
    if (separator != '\0')
        AppendLiteral(format, ToQt(std::string(1, separator)));
}

// Copies text between quotes of the pattern.
size_t AppendQuoted(QString& format, const std::string& pattern, size_t at) {
    const char quote = pattern[at];
    const size_t close = pattern.find(quote, at + 1);
    const size_t end = close == std::string::npos ? pattern.size() : close;
    AppendLiteral(format, ToQt(pattern.substr(at + 1, end - at - 1)));
    return end == pattern.size() ? end : end + 1;
}

// Walks a pattern: quoted text and letters that are no field become literals,
// the separator mark becomes the separator, and field reads one field at at,
// appending its Qt form and answering how many characters it took (0: none).
template <class Field>
QString ConvertPattern(const std::string& pattern, char separatorMark, char separator,
                       Field field) {
    QString format;
    size_t at = 0;
    while (at < pattern.size()) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[at])));
        if (c == '"' || c == '\'') {
            at = AppendQuoted(format, pattern, at);
            continue;
        }
        if (c == separatorMark) {
            AppendSeparator(format, separator);
            ++at;
            continue;
        }
        const size_t taken = field(format, at, c);
        if (taken > 0) {
            at += taken;
            continue;
        }
        const size_t length = RunLength(pattern, at);
        AppendLiteral(format, ToQt(pattern.substr(at, length)));
        at += length;
    }
    return format;
}

} // namespace

QString PickerDateFormat(const std::string& pattern, char dateSeparator) {
    return ConvertPattern(pattern, '/', dateSeparator, [&](QString& format, size_t at, char c) {
        const size_t length = RunLength(pattern, at);
        if (c == 'd')
            format += QString(static_cast<int>(std::min<size_t>(length, 4)), QLatin1Char('d'));
        else if (c == 'm')
            format += QString(static_cast<int>(std::min<size_t>(length, 4)), QLatin1Char('M'));
        else if (c == 'y')
            format += length <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
        else
            return size_t{0};
        return length;
    });
}

QString PickerTimeFormat(const std::string& pattern, char timeSeparator) {
    return ConvertPattern(pattern, ':', timeSeparator, [&](QString& format, size_t at, char c) {
        if (StartsWithNoCase(pattern, at, "ampm")) {
            format += QStringLiteral("AP");
            return size_t{4};
        }
        if (StartsWithNoCase(pattern, at, "am/pm") || StartsWithNoCase(pattern, at, "a/p")) {
            format += QStringLiteral("ap");
            return size_t{pattern[at + 1] == '/' ? 3u : 5u};
        }
        const size_t length = RunLength(pattern, at);
        const QString twoDigits = c == 'n' ? QStringLiteral("mm") : QString(2, QLatin1Char(c));
        if (c == 'h' || c == 'n' || c == 'm' || c == 's')
            format += length >= 2 ? twoDigits : twoDigits.left(1);
        else
            return size_t{0};
        return length;
    });
}

} // namespace gravlink
