#include "support/date_time_text.h"

#include <cstddef>

namespace gravlink {
namespace {

constexpr size_t MaxTextLength = 256;

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Case-insensitive: does the pattern at position i begin with the upper-case word?
bool StartsWithWord(std::string_view pattern, size_t i, std::string_view word) {
    if (pattern.size() - i < word.size())
        return false;
    for (size_t k = 0; k < word.size(); ++k)
        if (Upper(pattern[i + k]) != word[k])
            return false;
    return true;
}

// An "h" is on a 12-hour clock when, looking forward, the first "h" or unquoted "a"
// begins one of the AM/PM specifiers.
bool UsesTwelveHourClock(std::string_view pattern, size_t from) {
    char quote = 0; // the quote that opened the text being skipped
    for (size_t i = from; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == 'h' || c == 'H')
            return false;
        if ((c == 'a' || c == 'A') && quote == 0)
            return StartsWithWord(pattern, i, "AM/PM") || StartsWithWord(pattern, i, "A/P") ||
                   StartsWithWord(pattern, i, "AMPM");
        if (c == '\'' || c == '"') {
            // The other kind of quote inside quoted text is just a character.
            if (quote == 0)
                quote = c;
            else if (quote == c)
                quote = 0;
        }
    }
    return false;
}

class DateTimeWriter {
public:
    DateTimeWriter(std::string& out, TDateTime value, const TFormatSettings& settings)
        : FOut(out), FStart(out.size()), FTime(DecodeDateTime(value)), FSettings(settings) {}

    // Expands a pattern; one brought in from within an included pattern is skipped.
    void Write(std::string_view pattern) {
        if (FLevel >= 2)
            return;
        ++FLevel;
        WritePattern(pattern);
        --FLevel;
    }

private:
    void WritePattern(std::string_view pattern) {
        char lastToken = 0;
        size_t i = 0;
        while (i < pattern.size()) {
            const char c = pattern[i];
            if (c == '\'' || c == '"') {
                const size_t close = pattern.find(c, i + 1);
                const size_t end = close == std::string_view::npos ? pattern.size() : close;
                Text(pattern.substr(i + 1, end - i - 1));
                i = end == pattern.size() ? end : end + 1;
                continue;
            }
            if (c == '/') {
                Char(FSettings.DateSeparatorChar);
                ++i;
                continue;
            }
            if (c == ':') {
                Char(FSettings.TimeSeparatorChar);
                ++i;
                continue;
            }
            if (!IsLetter(c)) {
                Char(c);
                ++i;
                continue;
            }
            char token = Upper(c);
            if (token == 'A') {
                i = WriteA(pattern, i);
                lastToken = token;
                continue;
            }
            size_t count = 1;
            while (i + count < pattern.size() && pattern[i + count] == c)
                ++count;
            i += count;
            // Only "m" and "mm" turn into minutes; "mmm" and longer stay month names.
            if (token == 'M' && lastToken == 'H' && count <= 2)
                token = 'N';
            lastToken = token;
            WriteRun(pattern, i, token, count);
        }
    }

    // A run of one letter; next is the position after it.
    void WriteRun(std::string_view pattern, size_t next, char token, size_t count) {
        switch (token) {
        case 'C':
            Write(FSettings.ShortDatePattern);
            if (FTime.Hour != 0 || FTime.Minute != 0 || FTime.Second != 0) {
                Char(' ');
                Write(FSettings.LongTimePattern);
            }
            break;
        case 'D':
            if (count <= 2)
                Number(FTime.Day, count);
            else if (count == 3)
                Text(FSettings.DayAbbrevs[FTime.DayOfWeek]);
            else if (count == 4)
                Text(FSettings.DayNames[FTime.DayOfWeek]);
            else if (count == 5)
                Write(FSettings.ShortDatePattern);
            else
                Write(FSettings.LongDatePattern);
            break;
        case 'M':
            if (count <= 2)
                Number(FTime.Month, count);
            else if (FTime.Month >= 1)
                Text(count == 3 ? FSettings.MonthAbbrevs[FTime.Month - 1]
                                : FSettings.MonthNames[FTime.Month - 1]);
            break;
        case 'Y':
            if (count <= 2)
                Number(FTime.Year % 100, 2);
            else
                Number(FTime.Year, 4);
            break;
        case 'H': {
            int hour = FTime.Hour;
            if (UsesTwelveHourClock(pattern, next)) {
                if (hour == 0)
                    hour = 12;
                else if (hour > 12)
                    hour -= 12;
            }
            Number(hour, count < 2 ? count : 2);
            break;
        }
        case 'N':
            Number(FTime.Minute, count < 2 ? count : 2);
            break;
        case 'S':
            Number(FTime.Second, count < 2 ? count : 2);
            break;
        case 'Z':
            Number(FTime.Millisecond, count < 3 ? count : 3);
            break;
        case 'T':
            Write(count == 1 ? FSettings.ShortTimePattern : FSettings.LongTimePattern);
            break;
        default:
            // A letter that is no specifier stands for itself.
            for (size_t k = 0; k < count; ++k)
                Char(pattern[next - count + k]);
            break;
        }
    }

    // The specifiers that begin with "a"; returns the position after the one written.
    size_t WriteA(std::string_view pattern, size_t i) {
        const bool afternoon = FTime.Hour >= 12;
        if (StartsWithWord(pattern, i, "AM/PM")) {
            Text(pattern.substr(afternoon ? i + 3 : i, 2));
            return i + 5;
        }
        if (StartsWithWord(pattern, i, "A/P")) {
            Char(pattern[afternoon ? i + 2 : i]);
            return i + 3;
        }
        if (StartsWithWord(pattern, i, "AMPM")) {
            Text(afternoon ? FSettings.PmText : FSettings.AmText);
            return i + 4;
        }
        if (StartsWithWord(pattern, i, "AAAA")) {
            Text(FSettings.DayNames[FTime.DayOfWeek]);
            return i + 4;
        }
        if (StartsWithWord(pattern, i, "AAA")) {
            Text(FSettings.DayAbbrevs[FTime.DayOfWeek]);
            return i + 3;
        }
        Char(pattern[i]);
        return i + 1;
    }

    size_t Room() const {
        const size_t used = FOut.size() - FStart;
        return used < MaxTextLength ? MaxTextLength - used : 0;
    }

    void Char(char c) {
        if (c != '\0' && Room() > 0)
            FOut.push_back(c);
    }

    void Text(std::string_view text) {
        const size_t room = Room();
        FOut.append(text.substr(0, text.size() < room ? text.size() : room));
    }

    // Decimal digits with leading zeros up to the minimum width; never cut.
    void Number(int value, size_t minDigits) {
        char digits[16];
        size_t n = 0;
        unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : value;
        do {
            digits[n++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        while (n < minDigits)
            digits[n++] = '0';
        if (value < 0)
            Char('-');
        while (n > 0)
            Char(digits[--n]);
    }

    std::string& FOut;
    const size_t FStart;
    const TDecodedDateTime FTime;
    const TFormatSettings& FSettings;
    int FLevel = 0;
};

} // namespace

void AppendFormatDateTimeText(std::string& out, std::string_view pattern, TDateTime value,
                              const TFormatSettings& settings) {
    DateTimeWriter writer(out, value, settings);
    writer.Write(pattern.empty() ? std::string_view("c") : pattern);
}

void AppendFormatDateTimeText(std::string& out, std::string_view pattern, TDateTime value) {
    AppendFormatDateTimeText(out, pattern, value, TextFormatSettings);
}

std::string FormatDateTimeText(std::string_view pattern, TDateTime value) {
    std::string out;
    AppendFormatDateTimeText(out, pattern, value);
    return out;
}

void AppendDateTimeText(std::string& out, TDateTime value) {
    AppendFormatDateTimeText(out, "c", value);
}

std::string DateTimeText(TDateTime value) {
    return FormatDateTimeText("c", value);
}

void AppendDateText(std::string& out, TDateTime value) {
    AppendFormatDateTimeText(out, TextFormatSettings.ShortDatePattern, value);
}

std::string DateText(TDateTime value) {
    std::string out;
    AppendDateText(out, value);
    return out;
}

void AppendTimeText(std::string& out, TDateTime value) {
    AppendFormatDateTimeText(out, TextFormatSettings.LongTimePattern, value);
}

std::string TimeText(TDateTime value) {
    std::string out;
    AppendTimeText(out, value);
    return out;
}

} // namespace gravlink
