#include "support/locale_texts.h"

#include "support/code_page.h"

#include <optional>
#include <string>
#include <string_view>

namespace gravlink {
namespace {

// Locale texts come in the locale's code set. UTF-8 (and plain ASCII, its subset) is
// converted; a non-ASCII text of any other code set counts as not readable.
std::optional<std::string> Win1251Of(std::string_view text, bool utf8) {
    if (!utf8)
        for (char c : text)
            if (static_cast<unsigned char>(c) >= 0x80)
                return std::nullopt;
    return Utf8ToWin1251(text);
}

// The single character of a setting, when its text is exactly one character that
// Windows-1251 has.
std::optional<char> OneWin1251Char(std::string_view text, bool utf8) {
    const auto converted = Win1251Of(text, utf8);
    if (!converted || converted->size() != 1)
        return std::nullopt;
    // A character Windows-1251 lacks came out as "?".
    if (Win1251ToUtf8(*converted) != text)
        return std::nullopt;
    return (*converted)[0];
}

// glibc groups thousands with a space that Windows-1251 lacks (U+202F, ru_RU among
// others) or with U+2009; Russian Windows writes the no-break space 0xA0 there.
std::optional<char> ThousandSeparatorOf(std::string_view text, bool utf8) {
    constexpr std::string_view spaces[] = {"\u202F", "\u00A0", "\u2009"};
    if (utf8)
        for (const std::string_view space : spaces)
            if (text == space)
                return '\xA0';
    return OneWin1251Char(text, utf8);
}

// Length of the UTF-8 character that begins text.
size_t FirstCharLength(std::string_view text) {
    size_t n = 1;
    while (n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

// The strftime conversion at text[i] == '%': skips glibc's flags, width and the E/O
// modifiers; returns the conversion letter and moves i past it.
char NextConversion(std::string_view text, size_t& i) {
    ++i;
    while (i < text.size() && std::string_view("_-0^#").find(text[i]) != std::string_view::npos)
        ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'O'))
        ++i;
    return i < text.size() ? text[i++] : '\0';
}

// Literal text of a date format as pattern text: letters and quotes would be read as
// specifiers, so such text goes between quotes.
void AppendLiteral(std::string& pattern, const std::string& literal) {
    bool needsQuotes = false;
    for (char c : literal)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '"' || c == '\'')
            needsQuotes = true;
    if (!needsQuotes) {
        pattern += literal;
        return;
    }
    const char quote = literal.find('"') == std::string::npos ? '"' : '\'';
    pattern += quote;
    pattern += literal;
    pattern += quote;
}

struct DatePattern {
    std::string Pattern;
    std::optional<char> Separator;
};

// D_FMT as a date pattern; the first text between two date fields gives the separator.
std::optional<DatePattern> DatePatternOf(std::string_view format, bool utf8) {
    DatePattern out;
    std::string literal;
    int fields = 0;
    bool separatorTaken = false;
    auto flush = [&] {
        if (literal.empty())
            return;
        if (fields == 1 && !separatorTaken) {
            separatorTaken = true;
            out.Separator = OneWin1251Char(literal.substr(0, FirstCharLength(literal)), utf8);
        }
        const auto converted = Win1251Of(literal, utf8);
        if (converted)
            AppendLiteral(out.Pattern, *converted);
        literal.clear();
    };
    auto field = [&](std::string_view specifier) {
        flush();
        out.Pattern += specifier;
        if (fields == 1)
            separatorTaken = true; // two fields without text between them
        ++fields;
    };
    for (size_t i = 0; i < format.size();) {
        if (format[i] != '%') {
            literal += format[i++];
            continue;
        }
        switch (NextConversion(format, i)) {
        case 'd':
            field("dd");
            break;
        case 'e':
            field("d");
            break;
        case 'm':
            field("mm");
            break;
        case 'y':
            field("yy");
            break;
        case 'Y':
            field("yyyy");
            break;
        case 'b':
        case 'h':
            field("mmm");
            break;
        case 'B':
            field("mmmm");
            break;
        case 'a':
            field("ddd");
            break;
        case 'A':
            field("dddd");
            break;
        case 'D':
            field("mm");
            literal = "/";
            field("dd");
            literal = "/";
            field("yy");
            break;
        case 'F':
            field("yyyy");
            literal = "-";
            field("mm");
            literal = "-";
            field("dd");
            break;
        case '%':
            literal += '%';
            break;
        case 'n':
            literal += '\n';
            break;
        case 't':
            literal += '\t';
            break;
        default:
            return std::nullopt; // a field a date pattern cannot write
        }
    }
    flush();
    if (fields == 0)
        return std::nullopt;
    return out;
}

struct TimeFormat {
    bool TwelveHour = true;
    bool LeadingZero = false;
    bool MarkFirst = false;
    std::optional<char> Separator;
};

// What T_FMT says about the clock: 24-hour with %H, %k, %R or %T; 12-hour with %I, %l
// or %r; leading zero with %H, %I, %T, %R; the AM/PM mark where %p stands.
TimeFormat TimeFormatOf(std::string_view format, std::string_view ampmFormat, bool utf8) {
    std::string expanded;
    for (size_t i = 0; i < format.size();) {
        if (format[i] != '%') {
            expanded += format[i++];
            continue;
        }
        const size_t start = i;
        const char conversion = NextConversion(format, i);
        if (conversion == 'T')
            expanded += "%H:%M:%S";
        else if (conversion == 'R')
            expanded += "%H:%M";
        else if (conversion == 'r') {
            expanded += ampmFormat.empty() ? std::string_view("%I:%M:%S %p") : ampmFormat;
        } else
            expanded += format.substr(start, i - start);
    }
    TimeFormat out;
    bool hourSeen = false;
    bool separatorTaken = false;
    std::string literal;
    for (size_t i = 0; i < expanded.size();) {
        if (expanded[i] != '%') {
            literal += expanded[i++];
            continue;
        }
        const char conversion = NextConversion(expanded, i);
        if (hourSeen && !separatorTaken) {
            separatorTaken = true;
            if (!literal.empty())
                out.Separator = OneWin1251Char(literal.substr(0, FirstCharLength(literal)), utf8);
        }
        literal.clear();
        switch (conversion) {
        case 'H':
        case 'k':
        case 'I':
        case 'l':
            if (!hourSeen) {
                hourSeen = true;
                out.TwelveHour = conversion == 'I' || conversion == 'l';
                out.LeadingZero = conversion == 'H' || conversion == 'I';
            }
            break;
        case 'p':
        case 'P':
            if (!hourSeen)
                out.MarkFirst = true;
            break;
        default:
            break;
        }
    }
    return out;
}

} // namespace

TFormatSettings TranslateLocaleTexts(const TLocaleTexts& texts) {
    TFormatSettings settings;
    const bool utf8 = texts.CodeSet == "UTF-8";

    if (const auto date = DatePatternOf(texts.DateFormat, utf8)) {
        settings.ShortDatePattern = date->Pattern;
        if (date->Separator)
            settings.DateSeparatorChar = *date->Separator;
    }

    const TimeFormat time = TimeFormatOf(texts.TimeFormat, texts.TimeFormatAmPm, utf8);
    if (time.Separator)
        settings.TimeSeparatorChar = *time.Separator;
    const std::string hour = time.LeadingZero ? "hh" : "h";
    std::string prefix, postfix;
    if (time.TwelveHour && time.MarkFirst)
        prefix = "AMPM ";
    else if (time.TwelveHour)
        postfix = " AMPM";
    settings.ShortTimePattern = prefix + hour + ":mm" + postfix;
    settings.LongTimePattern = prefix + hour + ":mm:ss" + postfix;

    if (const auto am = Win1251Of(texts.AmText, utf8))
        settings.AmText = *am;
    if (const auto pm = Win1251Of(texts.PmText, utf8))
        settings.PmText = *pm;

    auto name = [utf8](const std::string& text, std::string& member) {
        const auto converted = Win1251Of(text, utf8);
        if (converted && !converted->empty())
            member = *converted;
    };
    for (int m = 0; m < 12; ++m) {
        name(texts.MonthAbbrevs[m], settings.MonthAbbrevs[m]);
        name(texts.MonthNames[m], settings.MonthNames[m]);
    }
    for (int d = 0; d < 7; ++d) {
        name(texts.DayAbbrevs[d], settings.DayAbbrevs[d]);
        name(texts.DayNames[d], settings.DayNames[d]);
    }

    if (const auto point = OneWin1251Char(texts.DecimalPoint, utf8))
        settings.DecimalPoint = *point;
    if (const auto thousands = ThousandSeparatorOf(texts.ThousandsSeparator, utf8))
        settings.ThousandSeparatorChar = *thousands;
    return settings;
}

} // namespace gravlink
