#include "support/number_text.h"

#include "support/text_format_settings.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace gravlink {
namespace {

constexpr int SignificantDigits = 15;

// The significant digits d1..dk (no trailing zeros) and the exponent E of
// 0.d1..dk x 10^E, for a finite positive magnitude.
struct DecimalDigits {
    char Digits[20];
    int Count = 0;
    int Exponent = 0;
};

DecimalDigits Digits(double magnitude) {
    // Eighteen digits, the last one rounded to nearest, then rounded once more to
    // fifteen: a sixteenth digit of 5 or more carries upwards.
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 17);
    // buffer holds d.ddddddddddddddddde±x
    DecimalDigits out;
    char all[18];
    all[0] = buffer[0];
    for (int k = 1; k < 18; ++k)
        all[k] = buffer[k + 1];
    const char* exponentText = buffer + 20; // after the "e"
    int exponent = 0;
    std::from_chars(exponentText + (*exponentText == '+' ? 1 : 0), result.ptr, exponent);
    out.Exponent = exponent + 1;
    if (all[SignificantDigits] >= '5') {
        int k = SignificantDigits - 1;
        while (k >= 0 && all[k] == '9') {
            all[k] = '0';
            --k;
        }
        if (k < 0) {
            // 9.99…9 became 10: one digit more in front.
            all[0] = '1';
            for (int j = 1; j < SignificantDigits; ++j)
                all[j] = '0';
            ++out.Exponent;
        } else {
            ++all[k];
        }
    }
    int count = SignificantDigits;
    while (count > 0 && all[count - 1] == '0')
        --count;
    for (int k = 0; k < count; ++k)
        out.Digits[k] = all[k];
    out.Count = count;
    return out;
}

void AppendDecimalPoint(std::string& out) {
    if (TextFormatSettings.DecimalPoint != '\0')
        out.push_back(TextFormatSettings.DecimalPoint);
}

} // namespace

void AppendFloatText(std::string& out, double value) {
    if (std::isnan(value)) {
        out += "NAN";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-INF" : "INF";
        return;
    }
    if (value == 0) {
        out.push_back('0');
        return;
    }
    const DecimalDigits d = Digits(std::fabs(value));
    if (value < 0)
        out.push_back('-');
    const int e = d.Exponent;
    if (e > 15 || e < -3) {
        out.push_back(d.Digits[0]);
        if (d.Count > 1) {
            AppendDecimalPoint(out);
            out.append(d.Digits + 1, d.Count - 1);
        }
        out.push_back('E');
        AppendIntegerText(out, e - 1);
    } else if (e <= 0) {
        out.push_back('0');
        AppendDecimalPoint(out);
        out.append(static_cast<size_t>(-e), '0');
        out.append(d.Digits, d.Count);
    } else if (d.Count <= e) {
        out.append(d.Digits, d.Count);
        out.append(static_cast<size_t>(e - d.Count), '0');
    } else {
        out.append(d.Digits, e);
        AppendDecimalPoint(out);
        out.append(d.Digits + e, d.Count - e);
    }
}

std::string FloatText(double value) {
    std::string out;
    AppendFloatText(out, value);
    return out;
}

void AppendIntegerText(std::string& out, int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string IntegerText(int32_t value) {
    std::string out;
    AppendIntegerText(out, value);
    return out;
}

} // namespace gravlink
