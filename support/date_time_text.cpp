#include "support/date_time_text.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace gravlink {
namespace {

constexpr size_t MaxTextLength = DateTimeTextMaxLength;

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

// One step of a pattern read into steps: a literal or a field of the value.
struct TPatternStep {
    enum TKind : unsigned char {
        Chars, // Text, each character but '\0'
        AsIs,  // Text as it stands
        Day,   // the numbers, at least Digits digits
        Month,
        Year2,
        Year4,
        Hour24,
        Hour12,
        Minute,
        Second,
        Millisecond,
        DayAbbrev, // the names of the settings
        DayName,
        MonthAbbrev,
        MonthName,
        Afternoon,      // Text before noon, Pm from noon, as it stands
        AfternoonChars, // the same, without '\0'
        TimePart,       // the next Skip steps only when the time of day is not midnight
    };
    TKind Kind = Chars;
    unsigned char Digits = 0;
    unsigned short Skip = 0;
    std::string_view Text;
    std::string_view Pm;
};

// Reads a pattern into steps for sink, which takes each step (Add) and the bounds of
// the part that "c" writes only when there is a time of day (BeginTimePart, which
// says whether to read that part, and EndTimePart).
template <class Sink> class PatternReader {
public:
    PatternReader(const TFormatSettings& settings, Sink& sink) : FSettings(settings), FSink(sink) {}

    // Reads a pattern; one brought in from within an included pattern is skipped.
    void Read(std::string_view pattern) {
        if (FLevel >= 2)
            return;
        ++FLevel;
        ReadPattern(pattern);
        --FLevel;
    }

private:
    void Add(TPatternStep::TKind kind, std::string_view text = {}, std::string_view pm = {}) {
        TPatternStep step;
        step.Kind = kind;
        step.Text = text;
        step.Pm = pm;
        FSink.Add(step);
    }

    void Number(TPatternStep::TKind kind, size_t digits) {
        TPatternStep step;
        step.Kind = kind;
        step.Digits = static_cast<unsigned char>(digits);
        FSink.Add(step);
    }

    void ReadPattern(std::string_view pattern) {
        char lastToken = 0;
        size_t i = 0;
        while (i < pattern.size()) {
            const char c = pattern[i];
            if (c == '\'' || c == '"') {
                const size_t close = pattern.find(c, i + 1);
                const size_t end = close == std::string_view::npos ? pattern.size() : close;
                Add(TPatternStep::AsIs, pattern.substr(i + 1, end - i - 1));
                i = end == pattern.size() ? end : end + 1;
                continue;
            }
            if (c == '/') {
                Add(TPatternStep::Chars, std::string_view(&FSettings.DateSeparatorChar, 1));
                ++i;
                continue;
            }
            if (c == ':') {
                Add(TPatternStep::Chars, std::string_view(&FSettings.TimeSeparatorChar, 1));
                ++i;
                continue;
            }
            if (!IsLetter(c)) {
                Add(TPatternStep::Chars, pattern.substr(i, 1));
                ++i;
                continue;
            }
            char token = Upper(c);
            if (token == 'A') {
                i = ReadA(pattern, i);
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
            ReadRun(pattern, i, token, count);
        }
    }

    // A run of one letter; next is the position after it.
    void ReadRun(std::string_view pattern, size_t next, char token, size_t count) {
        switch (token) {
        case 'C':
            Read(FSettings.ShortDatePattern);
            if (FSink.BeginTimePart()) {
                Add(TPatternStep::Chars, " ");
                Read(FSettings.LongTimePattern);
                FSink.EndTimePart();
            }
            break;
        case 'D':
            if (count <= 2)
                Number(TPatternStep::Day, count);
            else if (count == 3)
                Add(TPatternStep::DayAbbrev);
            else if (count == 4)
                Add(TPatternStep::DayName);
            else if (count == 5)
                Read(FSettings.ShortDatePattern);
            else
                Read(FSettings.LongDatePattern);
            break;
        case 'M':
            if (count <= 2)
                Number(TPatternStep::Month, count);
            else
                Add(count == 3 ? TPatternStep::MonthAbbrev : TPatternStep::MonthName);
            break;
        case 'Y':
            Number(count <= 2 ? TPatternStep::Year2 : TPatternStep::Year4, count <= 2 ? 2 : 4);
            break;
        case 'H':
            Number(UsesTwelveHourClock(pattern, next) ? TPatternStep::Hour12 : TPatternStep::Hour24,
                   count < 2 ? count : 2);
            break;
        case 'N':
            Number(TPatternStep::Minute, count < 2 ? count : 2);
            break;
        case 'S':
            Number(TPatternStep::Second, count < 2 ? count : 2);
            break;
        case 'Z':
            Number(TPatternStep::Millisecond, count < 3 ? count : 3);
            break;
        case 'T':
            Read(count == 1 ? FSettings.ShortTimePattern : FSettings.LongTimePattern);
            break;
        default:
            // A letter that is no specifier stands for itself.
            Add(TPatternStep::Chars, pattern.substr(next - count, count));
            break;
        }
    }

    // The specifiers that begin with "a"; returns the position after the one read.
    size_t ReadA(std::string_view pattern, size_t i) {
        if (StartsWithWord(pattern, i, "AM/PM")) {
            Add(TPatternStep::Afternoon, pattern.substr(i, 2), pattern.substr(i + 3, 2));
            return i + 5;
        }
        if (StartsWithWord(pattern, i, "A/P")) {
            Add(TPatternStep::AfternoonChars, pattern.substr(i, 1), pattern.substr(i + 2, 1));
            return i + 3;
        }
        if (StartsWithWord(pattern, i, "AMPM")) {
            Add(TPatternStep::Afternoon, FSettings.AmText, FSettings.PmText);
            return i + 4;
        }
        if (StartsWithWord(pattern, i, "AAAA")) {
            Add(TPatternStep::DayName);
            return i + 4;
        }
        if (StartsWithWord(pattern, i, "AAA")) {
            Add(TPatternStep::DayAbbrev);
            return i + 3;
        }
        Add(TPatternStep::Chars, pattern.substr(i, 1));
        return i + 1;
    }

    const TFormatSettings& FSettings;
    Sink& FSink;
    int FLevel = 0;
};

// Writes the steps of one value at a buffer of MaxTextLength characters, never
// beyond it.
class StepWriter {
public:
    StepWriter(char* out, TDateTime value, const TFormatSettings& settings)
        : FStart(out), FAt(out), FTime(DecodeDateTime(value)), FSettings(settings) {}

    char* End() const { return FAt; }
    bool HasTimeOfDay() const { return FTime.Hour != 0 || FTime.Minute != 0 || FTime.Second != 0; }

    // The steps from first to last.
    void Write(const TPatternStep* first, const TPatternStep* last) {
        for (; first < last; ++first) {
            if (first->Kind == TPatternStep::TimePart && !HasTimeOfDay())
                first += first->Skip;
            else
                Write(*first);
        }
    }

    void Write(const TPatternStep& step) {
        const bool afternoon = FTime.Hour >= 12;
        switch (step.Kind) {
        case TPatternStep::Chars:
            for (const char c : step.Text)
                Char(c);
            break;
        case TPatternStep::AsIs:
            Text(step.Text);
            break;
        case TPatternStep::Day:
            Number(FTime.Day, step.Digits);
            break;
        case TPatternStep::Month:
            Number(FTime.Month, step.Digits);
            break;
        case TPatternStep::Year2:
            Number(FTime.Year % 100, step.Digits);
            break;
        case TPatternStep::Year4:
            Number(FTime.Year, step.Digits);
            break;
        case TPatternStep::Hour24:
            Number(FTime.Hour, step.Digits);
            break;
        case TPatternStep::Hour12: {
            int hour = FTime.Hour;
            if (hour == 0)
                hour = 12;
            else if (hour > 12)
                hour -= 12;
            Number(hour, step.Digits);
            break;
        }
        case TPatternStep::Minute:
            Number(FTime.Minute, step.Digits);
            break;
        case TPatternStep::Second:
            Number(FTime.Second, step.Digits);
            break;
        case TPatternStep::Millisecond:
            Number(FTime.Millisecond, step.Digits);
            break;
        case TPatternStep::DayAbbrev:
            Text(FSettings.DayAbbrevs[FTime.DayOfWeek]);
            break;
        case TPatternStep::DayName:
            Text(FSettings.DayNames[FTime.DayOfWeek]);
            break;
        case TPatternStep::MonthAbbrev:
            if (FTime.Month >= 1)
                Text(FSettings.MonthAbbrevs[FTime.Month - 1]);
            break;
        case TPatternStep::MonthName:
            if (FTime.Month >= 1)
                Text(FSettings.MonthNames[FTime.Month - 1]);
            break;
        case TPatternStep::Afternoon:
            Text(afternoon ? step.Pm : step.Text);
            break;
        case TPatternStep::AfternoonChars:
            for (const char c : afternoon ? step.Pm : step.Text)
                Char(c);
            break;
        case TPatternStep::TimePart:
            break;
        }
    }

private:
    size_t Room() const {
        const size_t used = static_cast<size_t>(FAt - FStart);
        return used < MaxTextLength ? MaxTextLength - used : 0;
    }

    void Char(char c) {
        if (c != '\0' && Room() > 0)
            *FAt++ = c;
    }

    void Text(std::string_view text) {
        const size_t size = std::min(text.size(), Room());
        std::memcpy(FAt, text.data(), size);
        FAt += size;
    }

    // Decimal digits with leading zeros up to the minimum width; never cut.
    void Number(int value, size_t minDigits) {
        // Two-digit days, months, hours, minutes and seconds and four-digit years,
        // where there is room.
        if (minDigits == 2 && value >= 0 && value < 100 && Room() >= 2) {
            FAt[0] = static_cast<char>('0' + value / 10);
            FAt[1] = static_cast<char>('0' + value % 10);
            FAt += 2;
            return;
        }
        if (minDigits == 4 && value >= 1000 && value < 10000 && Room() >= 4) {
            FAt[0] = static_cast<char>('0' + value / 1000);
            FAt[1] = static_cast<char>('0' + value / 100 % 10);
            FAt[2] = static_cast<char>('0' + value / 10 % 10);
            FAt[3] = static_cast<char>('0' + value % 10);
            FAt += 4;
            return;
        }
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

    char* const FStart;
    char* FAt;
    const TDecodedDateTime FTime;
    const TFormatSettings& FSettings;
};

// Writes every step as soon as it is read.
class ImmediateSink {
public:
    explicit ImmediateSink(StepWriter& writer) : FWriter(writer) {}
    void Add(const TPatternStep& step) { FWriter.Write(step); }
    bool BeginTimePart() const { return FWriter.HasTimeOfDay(); }
    void EndTimePart() {}

private:
    StepWriter& FWriter;
};

// Keeps the steps for later.
class StepListSink {
public:
    explicit StepListSink(std::vector<TPatternStep>& steps) : FSteps(steps) {}
    void Add(const TPatternStep& step) { FSteps.push_back(step); }
    bool BeginTimePart() {
        FOpen.push_back(FSteps.size());
        TPatternStep step;
        step.Kind = TPatternStep::TimePart;
        FSteps.push_back(step);
        return true;
    }
    void EndTimePart() {
        const size_t part = FOpen.back();
        FOpen.pop_back();
        FSteps[part].Skip = static_cast<unsigned short>(FSteps.size() - part - 1);
    }

private:
    std::vector<TPatternStep>& FSteps;
    std::vector<size_t> FOpen;
};

std::string_view PatternOrDefault(std::string_view pattern) {
    return pattern.empty() ? std::string_view("c") : pattern;
}

} // namespace

struct TDateTimePattern::TData {
    std::string Pattern;
    TFormatSettings Settings;
    std::vector<TPatternStep> Steps;
};

TDateTimePattern::TDateTimePattern(std::string_view pattern, const TFormatSettings& settings)
    : FData(std::make_unique<TData>()) {
    FData->Pattern = PatternOrDefault(pattern);
    FData->Settings = settings;
    StepListSink sink(FData->Steps);
    PatternReader<StepListSink>(FData->Settings, sink).Read(FData->Pattern);
}

TDateTimePattern::~TDateTimePattern() = default;
TDateTimePattern::TDateTimePattern(TDateTimePattern&&) noexcept = default;
TDateTimePattern& TDateTimePattern::operator=(TDateTimePattern&&) noexcept = default;

char* TDateTimePattern::Write(char* out, TDateTime value) const {
    StepWriter writer(out, value, FData->Settings);
    writer.Write(FData->Steps.data(), FData->Steps.data() + FData->Steps.size());
    return writer.End();
}

void AppendFormatDateTimeText(std::string& out, std::string_view pattern, TDateTime value,
                              const TFormatSettings& settings) {
    char buffer[MaxTextLength];
    StepWriter writer(buffer, value, settings);
    ImmediateSink sink(writer);
    PatternReader<ImmediateSink>(settings, sink).Read(PatternOrDefault(pattern));
    out.append(buffer, writer.End());
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
