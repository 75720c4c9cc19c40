#include "support/format_float_text.h"

#include "support/number_text.h"
#include "support/text_format_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace gravlink {
namespace {

// What one section of a pattern asks for.
struct NumberLayout {
    std::string Prefix;
    std::string Suffix;
    bool HasDigits = false;
    bool Grouped = false;
    int MinIntegerDigits = 0;
    int MinDecimals = 0;
    int MaxDecimals = 0;
};

// Splits the pattern at ";" outside quotes.
std::vector<std::string_view> Sections(std::string_view pattern) {
    std::vector<std::string_view> sections;
    char quote = 0;
    size_t start = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(pattern.substr(start));
    return sections;
}

NumberLayout ReadLayout(std::string_view section) {
    NumberLayout layout;
    int integerPlaces = 0;
    int firstZero = -1;
    bool afterPoint = false;
    char quote = 0;
    for (const char c : section) {
        std::string& literal = layout.HasDigits ? layout.Suffix : layout.Prefix;
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                literal.push_back(c);
            continue;
        }
        switch (c) {
        case '\'':
        case '"':
            quote = c;
            break;
        case '0':
        case '#':
            layout.HasDigits = true;
            if (afterPoint) {
                ++layout.MaxDecimals;
                if (c == '0')
                    layout.MinDecimals = layout.MaxDecimals;
            } else {
                if (c == '0' && firstZero < 0)
                    firstZero = integerPlaces;
                ++integerPlaces;
            }
            break;
        case '.':
            afterPoint = true;
            break;
        case ',':
            if (!afterPoint)
                layout.Grouped = true;
            break;
        default:
            literal.push_back(c);
        }
    }
    if (firstZero >= 0)
        layout.MinIntegerDigits = integerPlaces - firstZero;
    return layout;
}

// The magnitude as whole digits and exactly `decimals` fraction digits, rounded half
// away from zero on its first eighteen significant digits.
struct RoundedDigits {
    std::string Whole; // without leading zeros; empty for a magnitude below 1
    std::string Fraction;
    bool IsZero() const {
        return Whole.find_first_not_of('0') == std::string::npos &&
               Fraction.find_first_not_of('0') == std::string::npos;
    }
};

// The significant digits of a magnitude (0.digits x 10^exponent); eighteen of them.
struct SignificantDigits {
    std::string Digits;
    int Exponent = 0;
};

SignificantDigits DigitsOf(double magnitude) {
    SignificantDigits out;
    if (magnitude == 0)
        return out;
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 17);
    out.Digits.push_back(buffer[0]);
    out.Digits.append(buffer + 2, buffer + 19);
    std::from_chars(buffer + 20 + (buffer[20] == '+' ? 1 : 0), result.ptr, out.Exponent);
    ++out.Exponent;
    return out;
}

SignificantDigits DigitsOf(uint64_t magnitude, int decimals) {
    SignificantDigits out;
    if (magnitude == 0)
        return out;
    out.Digits = std::to_string(magnitude);
    out.Exponent = static_cast<int>(out.Digits.size()) - decimals;
    return out;
}

RoundedDigits Round(SignificantDigits number, int decimals) {
    RoundedDigits out;
    std::string& digits = number.Digits;
    int& exponent = number.Exponent;
    if (!digits.empty()) {
        const int keep = exponent + decimals;
        if (keep < 0) {
            digits.clear();
        } else if (keep < static_cast<int>(digits.size())) {
            const bool up = digits[keep] >= '5';
            digits.resize(keep);
            if (up) {
                int k = keep - 1;
                while (k >= 0 && digits[k] == '9')
                    digits[k--] = '0';
                if (k < 0) {
                    digits.insert(digits.begin(), '1');
                    ++exponent;
                } else {
                    ++digits[k];
                }
            }
        }
    }
    if (digits.empty()) {
        out.Fraction.assign(decimals, '0');
        return out;
    }
    const int length = exponent + decimals;
    if (static_cast<int>(digits.size()) < length)
        digits.append(length - digits.size(), '0');
    if (exponent > 0) {
        out.Whole = digits.substr(0, exponent);
        out.Fraction = digits.substr(exponent);
    } else {
        out.Fraction = std::string(-exponent, '0') + digits;
        out.Fraction.resize(decimals);
    }
    return out;
}

void AppendGrouped(std::string& out, const std::string& whole) {
    const char separator = TextFormatSettings.ThousandSeparatorChar;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0 && separator != '\0')
            out.push_back(separator);
        out.push_back(whole[i]);
    }
}

std::string Compose(const NumberLayout& layout, const RoundedDigits& number, bool minus) {
    std::string out = layout.Prefix;
    if (layout.HasDigits) {
        if (minus)
            out.push_back('-');
        std::string whole = number.Whole;
        const size_t firstDigit = whole.find_first_not_of('0');
        whole.erase(0, firstDigit == std::string::npos ? whole.size() : firstDigit);
        if (static_cast<int>(whole.size()) < layout.MinIntegerDigits)
            whole.insert(0, layout.MinIntegerDigits - whole.size(), '0');
        if (layout.Grouped)
            AppendGrouped(out, whole);
        else
            out += whole;
        std::string fraction = number.Fraction;
        while (static_cast<int>(fraction.size()) > layout.MinDecimals && fraction.back() == '0')
            fraction.pop_back();
        if (!fraction.empty()) {
            if (TextFormatSettings.DecimalPoint != '\0')
                out.push_back(TextFormatSettings.DecimalPoint);
            out += fraction;
        }
    }
    out += layout.Suffix;
    return out;
}

} // namespace

namespace {

std::string FormatDigits(std::string_view pattern, const SignificantDigits& magnitude,
                         bool negative) {
    const std::vector<std::string_view> sections = Sections(pattern);
    const bool ownNegative = negative && sections.size() > 1 && !sections[1].empty();
    const NumberLayout layout = ReadLayout(ownNegative ? sections[1] : sections[0]);
    const RoundedDigits number = Round(magnitude, layout.MaxDecimals);
    if (number.IsZero()) {
        if (sections.size() > 2 && !sections[2].empty()) {
            const NumberLayout zero = ReadLayout(sections[2]);
            return Compose(zero, Round({}, zero.MaxDecimals), false);
        }
        return Compose(layout, number, false);
    }
    return Compose(layout, number, negative && !ownNegative);
}

} // namespace

std::string FormatFloatText(std::string_view pattern, double value) {
    if (pattern.empty() || !std::isfinite(value))
        return FloatText(value);
    return FormatDigits(pattern, DigitsOf(std::fabs(value)), value < 0);
}

std::string FormatScaledText(std::string_view pattern, int64_t value, int decimals) {
    if (pattern.empty())
        return FormatScaledText("0." + std::string(std::max(decimals, 0), '#'), value, decimals);
    const uint64_t magnitude =
        value < 0 ? uint64_t(0) - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    return FormatDigits(pattern, DigitsOf(magnitude, decimals), value < 0);
}

} // namespace gravlink
