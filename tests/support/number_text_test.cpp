#include "support/number_text.h"
#include "support/text_format_settings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace gravlink {
namespace {

class NumberTextTest : public testing::Test {
protected:
    NumberTextTest() { TextFormatSettings.DecimalPoint = '.'; }

private:
    TextFormatSettingsGuard FGuard;
};

TEST_F(NumberTextTest, FloatTextHasFifteenSignificantDigits) {
    struct Case {
        double Value;
        const char* Text;
    };
    const Case cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {0.1, "0.1"},
        {1234.5, "1234.5"},
        {-2.5, "-2.5"},
        {0.0001, "0.0001"},
        {0.00012345, "0.00012345"},
        {0.00001, "1E-5"},
        {-0.000015, "-1.5E-5"},
        {999'999'999'999'999.0, "999999999999999"},
        {1e15, "1E15"},
        {1.5e15, "1.5E15"},
        {123'456'789'012'345'678.0, "1.23456789012346E17"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {100, "100"},
        {1e14, "100000000000000"},
        {123.45, "123.45"},
        {static_cast<double>(0.1f), "0.100000001490116"},
        // A sixteenth digit of 5 or more carries up into the next power of ten.
        {999'999'999'999'999.9, "1E15"},
        {0.9999999999999996, "1"},
        {0.1234567890123449, "0.123456789012345"},
        {1e100, "1E100"},
        {1.7976931348623157e308, "1.79769313486232E308"},
        {4.9406564584124654e-324, "4.94065645841247E-324"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::nan(""), "NAN"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FloatText(c.Value), c.Text) << "value " << c.Text;
}

TEST_F(NumberTextTest, FloatTextUsesTheCurrentDecimalPoint) {
    TextFormatSettings.DecimalPoint = ',';
    EXPECT_EQ(FloatText(1234.5), "1234,5");
    EXPECT_EQ(FloatText(0.0001), "0,0001");
    EXPECT_EQ(FloatText(1.5e-5), "1,5E-5");
    EXPECT_EQ(FloatText(100), "100");
}

TEST_F(NumberTextTest, AppendFormsAddToTheBuffer) {
    std::string out = "x;";
    AppendFloatText(out, -2.5);
    out += ';';
    AppendIntegerText(out, -2147483648LL);
    EXPECT_EQ(out, "x;-2.5;-2147483648");
}

// Sign, significant digits without trailing zeros and the power of ten of the first
// one, read from a text of either form.
struct Digits {
    bool Negative = false;
    std::string Significant;
    int Exponent = 0;
    bool operator==(const Digits&) const = default;
};

Digits DigitsOf(const std::string& text) {
    Digits out;
    size_t i = 0;
    if (text[i] == '-') {
        out.Negative = true;
        ++i;
    }
    int pointAt = -1;
    std::string all;
    for (; i < text.size() && text[i] != 'E' && text[i] != 'e'; ++i) {
        if (text[i] == '.')
            pointAt = static_cast<int>(all.size());
        else
            all += text[i];
    }
    const int written = i < text.size() ? std::stoi(text.substr(i + 1)) : 0;
    if (pointAt < 0)
        pointAt = static_cast<int>(all.size());
    const size_t first = all.find_first_not_of('0');
    out.Significant = all.substr(first, all.find_last_not_of('0') - first + 1);
    out.Exponent = written + pointAt - static_cast<int>(first) - 1;
    return out;
}

// The digits FloatText must give: eighteen significant digits of the exact value,
// rounded once more to fifteen by the sixteenth alone.
Digits ExpectedDigits(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17e", value);
    std::string mantissa = std::string(1, text[value < 0 ? 1 : 0]) + (text + (value < 0 ? 3 : 2));
    int exponent = std::atoi(std::strchr(text, 'e') + 1);
    mantissa.resize(18);
    std::string rounded = mantissa.substr(0, 15);
    if (mantissa[15] >= '5') {
        int k = 14;
        while (k >= 0 && rounded[static_cast<size_t>(k)] == '9')
            rounded[static_cast<size_t>(k--)] = '0';
        if (k < 0) {
            rounded = "1" + rounded.substr(0, 14);
            ++exponent;
        } else {
            ++rounded[static_cast<size_t>(k)];
        }
    }
    return {value < 0, rounded.substr(0, rounded.find_last_not_of('0') + 1), exponent};
}

TEST_F(NumberTextTest, FloatTextDigitsAreTheEighteenDigitsRounded) {
    // Any bit pattern; values of an export's range; and decimal texts whose digits
    // after the fifteenth sit right at the rounding edge.
    std::mt19937_64 random(20260101);
    std::vector<double> values;
    for (int i = 0; i < 200'000; ++i) {
        const uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value) && value != 0)
            values.push_back(value);
    }
    std::uniform_real_distribution<double> weights(-1e6, 1e6);
    for (int i = 0; i < 200'000; ++i)
        values.push_back(weights(random));
    for (int i = 0; i < 200'000; ++i) {
        const std::string digits = std::to_string(random() % 1'000'000'000'000'000ULL);
        static const char* const edges[] = {"4", "5", "50", "49", "51", "38", "62", "39", "61"};
        const std::string edge = edges[i % 9];
        const std::string text = "0." + std::string(15 - std::min<size_t>(digits.size(), 15), '0') +
                                 digits + edge + "e" +
                                 std::to_string(static_cast<int>(random() % 600) - 300);
        values.push_back(std::strtod(text.c_str(), nullptr));
    }
    // Exact halves at the eighteenth digit, which round to even.
    for (int j = 1; j < 2000; j += 2)
        for (int scale : {-20, -9, 0, 7, 30})
            values.push_back(std::ldexp(1.0 + std::ldexp(j, -18), scale));
    values.push_back(std::numeric_limits<double>::min());
    values.push_back(std::numeric_limits<double>::denorm_min());
    values.push_back(std::nextafter(std::numeric_limits<double>::min(), 0.0));
    int failures = 0;
    for (const double value : values) {
        const std::string text = FloatText(value);
        if (DigitsOf(text) != ExpectedDigits(value) && ++failures <= 10)
            ADD_FAILURE() << std::hexfloat << value << " reads as " << text;
    }
    EXPECT_EQ(failures, 0);
}

TEST(IntegerText, DigitsWithMinusAndNoGrouping) {
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(1234567), "1234567");
    EXPECT_EQ(IntegerText(-42), "-42");
    EXPECT_EQ(IntegerText(std::numeric_limits<int32_t>::min()), "-2147483648");
    EXPECT_EQ(IntegerText(std::numeric_limits<int32_t>::max()), "2147483647");
}

} // namespace
} // namespace gravlink
