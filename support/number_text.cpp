#include "support/number_text.h"

#include "support/text_format_settings.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

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

// The first fifteen (or fewer) of count digits, rounded up by one unit of the last
// when up is set, without trailing zeros; exponent is E of 0.d1d2… x 10^E.
DecimalDigits Rounded(char* all, int count, int exponent, bool up) {
    DecimalDigits out;
    out.Exponent = exponent;
    if (count > SignificantDigits)
        count = SignificantDigits;
    if (up) {
        int k = count - 1;
        while (k >= 0 && all[k] == '9') {
            all[k] = '0';
            --k;
        }
        if (k < 0) {
            // 9.99…9 became 10: one digit more in front.
            all[0] = '1';
            for (int j = 1; j < count; ++j)
                all[j] = '0';
            ++out.Exponent;
        } else {
            ++all[k];
        }
    }
    while (count > 0 && all[count - 1] == '0')
        --count;
    for (int k = 0; k < count; ++k)
        out.Digits[k] = all[k];
    out.Count = count;
    return out;
}

// From the eighteen significant digits of the magnitude, the last one rounded to
// nearest: rounded once more to fifteen, a sixteenth digit of 5 or more carrying
// upwards.
DecimalDigits RoundedDigits(double magnitude) {
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 17);
    // buffer holds d.ddddddddddddddddde±x
    char all[18];
    all[0] = buffer[0];
    for (int k = 1; k < 18; ++k)
        all[k] = buffer[k + 1];
    const char* exponentText = buffer + 20; // after the "e"
    int exponent = 0;
    std::from_chars(exponentText + (*exponentText == '+' ? 1 : 0), result.ptr, exponent);
    return Rounded(all, 18, exponent + 1, all[SignificantDigits] >= '5');
}

// The same digits found in integer arithmetic, for the magnitudes of most numbers
// written (from 2^-11 to below 2^50): the value is m / 2^shift exactly, and m times
// a power of ten fits 128 bits. Rounded to eighteen digits as the text above is,
// ties to even. False for other magnitudes.
bool ExactDigits(double magnitude, DecimalDigits& out) {
#ifndef __SIZEOF_INT128__
    (void)magnitude;
    (void)out;
    return false;
#else
    int binary = 0;
    const double fraction = std::frexp(magnitude, &binary);
    if (binary < -10 || binary > 50)
        return false;
    using Wide = unsigned __int128;
    const auto m = static_cast<uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - binary;
    const Wide half = Wide{1} << (shift - 1);
    const Wide mask = (Wide{1} << shift) - 1;
    static constexpr uint64_t Low = 100'000'000'000'000'000ULL; // 10^17
    static constexpr auto Powers = [] {
        std::array<Wide, 24> powers{};
        Wide p = 1;
        for (Wide& power : powers) {
            power = p;
            p *= 10;
        }
        return powers;
    }();
    int k = 17 - static_cast<int>(std::floor((binary - 1) * 0.30102999566398120));
    uint64_t n = 0;
    for (int attempt = 0; attempt < 3 && k >= 0 && k < 24; ++attempt) {
        const Wide product = Wide{m} * Powers[static_cast<size_t>(k)];
        Wide rounded = product >> shift;
        const Wide rest = product & mask;
        if (rest > half || (rest == half && (rounded & 1) != 0))
            ++rounded;
        if (rounded >= Wide{Low} * 10) {
            --k;
            continue;
        }
        if (rounded < Low) {
            ++k;
            continue;
        }
        n = static_cast<uint64_t>(rounded);
        break;
    }
    if (n == 0)
        return false;
    char all[18]; // n has eighteen digits
    std::to_chars(all, all + sizeof all, n);
    out = Rounded(all, 18, 18 - k, all[SignificantDigits] >= '5');
    return true;
#endif
}

DecimalDigits Digits(double magnitude) {
    DecimalDigits out;
    if (!ExactDigits(magnitude, out))
        out = RoundedDigits(magnitude);
    return out;
}

char* Copy(char* out, const char* text, size_t size) {
    std::memcpy(out, text, size);
    return out + size;
}

char* Zeros(char* out, int count) {
    std::memset(out, '0', static_cast<size_t>(count));
    return out + count;
}

char* DecimalPoint(char* out) {
    if (TextFormatSettings.DecimalPoint != '\0')
        *out++ = TextFormatSettings.DecimalPoint;
    return out;
}

} // namespace

char* WriteFloatText(char* out, double value) {
    if (std::isnan(value))
        return Copy(out, "NAN", 3);
    if (std::isinf(value))
        return value < 0 ? Copy(out, "-INF", 4) : Copy(out, "INF", 3);
    if (value == 0) {
        *out++ = '0';
        return out;
    }
    const DecimalDigits d = Digits(std::fabs(value));
    if (value < 0)
        *out++ = '-';
    const int e = d.Exponent;
    if (e > 15 || e < -3) {
        *out++ = d.Digits[0];
        if (d.Count > 1) {
            out = DecimalPoint(out);
            out = Copy(out, d.Digits + 1, static_cast<size_t>(d.Count - 1));
        }
        *out++ = 'E';
        return WriteIntegerText(out, e - 1);
    }
    if (e <= 0) {
        *out++ = '0';
        out = DecimalPoint(out);
        out = Zeros(out, -e);
        return Copy(out, d.Digits, static_cast<size_t>(d.Count));
    }
    if (d.Count <= e) {
        out = Copy(out, d.Digits, static_cast<size_t>(d.Count));
        return Zeros(out, e - d.Count);
    }
    out = Copy(out, d.Digits, static_cast<size_t>(e));
    out = DecimalPoint(out);
    return Copy(out, d.Digits + e, static_cast<size_t>(d.Count - e));
}

void AppendFloatText(std::string& out, double value) {
    char buffer[FloatTextMaxLength];
    out.append(buffer, WriteFloatText(buffer, value));
}

std::string FloatText(double value) {
    std::string out;
    AppendFloatText(out, value);
    return out;
}

char* WriteIntegerText(char* out, int64_t value) {
    return std::to_chars(out, out + IntegerTextMaxLength, value).ptr;
}

void AppendIntegerText(std::string& out, int64_t value) {
    char buffer[IntegerTextMaxLength];
    out.append(buffer, WriteIntegerText(buffer, value));
}

std::string IntegerText(int32_t value) {
    std::string out;
    AppendIntegerText(out, value);
    return out;
}

} // namespace gravlink
