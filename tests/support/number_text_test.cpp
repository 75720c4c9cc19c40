#include "support/number_text.h"
#include "support/text_format_settings.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

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

TEST(IntegerText, DigitsWithMinusAndNoGrouping) {
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(1234567), "1234567");
    EXPECT_EQ(IntegerText(-42), "-42");
    EXPECT_EQ(IntegerText(std::numeric_limits<int32_t>::min()), "-2147483648");
    EXPECT_EQ(IntegerText(std::numeric_limits<int32_t>::max()), "2147483647");
}

} // namespace
} // namespace gravlink
