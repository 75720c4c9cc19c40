#include "support/format_float_text.h"
#include "support/text_format_settings.h"

#include <gtest/gtest.h>
#include <limits>

namespace gravlink {
namespace {

class FormatFloatTextTest : public testing::Test {
protected:
    FormatFloatTextTest() {
        TextFormatSettings.DecimalPoint = '.';
        TextFormatSettings.ThousandSeparatorChar = ',';
    }

private:
    TextFormatSettingsGuard FGuard;
};

TEST_F(FormatFloatTextTest, DigitPlacesGroupingAndRounding) {
    struct Case {
        const char* Pattern;
        double Value;
        const char* Text;
    };
    const Case cases[] = {
        // The data set's numeric patterns: "#,##0." and its widened forms.
        {"#,##0.00", 1234.5, "1,234.50"},
        {"#,##0.00", -1234.5, "-1,234.50"},
        {"#,##0.00", 0, "0.00"},
        {"#,##0.00", 0.005, "0.01"},
        {"#,##0.00", -0.004, "0.00"},
        {"#,##0.00", 1234567890.126, "1,234,567,890.13"},
        {"#,##0.00", 999.995, "1,000.00"},
        {"#,##0.", 1234.5, "1,235"},
        {"#,##0.", 5, "5"},
        {"#,##0.", 0.4, "0"},
        {"#,##0.", 123, "123"},
        {"#,##0.", 123456, "123,456"},
        {"#,##0.", -1000000, "-1,000,000"},
        {"#,##0.0000", 0.12345, "0.1235"},
        // "0" places are always written, "#" places only when significant.
        {"0000", 42, "0042"},
        {"#", 0.3, ""},
        {"#.##", 0.5, ".5"},
        {"0.##", 2, "2"},
        {"0.0#", 2.345, "2.35"},
        {"0.0#", 2.3, "2.3"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0.00", 1e20, "100000000000000000000.00"},
        {"0.00", 1e-20, "0.00"},
        // Literals lead or follow the number; sections for negative and zero values.
        {"'Sum: '#,##0.00' kg'", 12.5, "Sum: 12.50 kg"},
        {"$0.00", 7, "$7.00"},
        {"0.00;(0.00)", -7, "(7.00)"},
        {"0.00;;'none'", -7, "-7.00"},
        {"0.00;(0.00);'none'", 0.001, "none"},
        {"0;(0);zero", -0.2, "zero"},
        // Nothing to format with: the general form.
        {"", 1234.5, "1234.5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFloatText(c.Pattern, c.Value), c.Text)
            << "pattern " << c.Pattern << ", value " << c.Value;
}

TEST_F(FormatFloatTextTest, SeparatorsComeFromTheRegionalSettings) {
    TextFormatSettings.DecimalPoint = ',';
    TextFormatSettings.ThousandSeparatorChar = ' ';
    EXPECT_EQ(FormatFloatText("#,##0.00", 1234567.5), "1 234 567,50");
    TextFormatSettings.ThousandSeparatorChar = '\0';
    EXPECT_EQ(FormatFloatText("#,##0.00", 1234567.5), "1234567,50");
}

TEST_F(FormatFloatTextTest, NonFiniteValuesKeepTheirGeneralForm) {
    EXPECT_EQ(FormatFloatText("#,##0.00", std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FormatFloatText("#,##0.00", std::numeric_limits<double>::quiet_NaN()), "NAN");
}

TEST_F(FormatFloatTextTest, ExactNumericsRoundOnAllTheirDigits) {
    struct Case {
        const char* Pattern;
        int64_t Value;
        int Decimals;
        const char* Text;
    };
    const Case cases[] = {
        {"#,##0.00", 123450, 2, "1,234.50"},
        {"#,##0.00", -5, 2, "-0.05"},
        {"#,##0.00", 0, 2, "0.00"},
        // Beyond the digits a double keeps.
        {"#,##0.00", INT64_MAX, 2, "92,233,720,368,547,758.07"},
        {"#,##0.00", INT64_MIN, 2, "-92,233,720,368,547,758.08"},
        {"#,##0.", 9007199254740993, 0, "9,007,199,254,740,993"},
        {"#,##0.0", 12345, 4, "1.2"},
        {"#,##0.0", 12500, 4, "1.3"},
        {"#,##0.0", -12500, 4, "-1.3"},
        // No pattern: the plain digits, trailing zeros dropped.
        {"", 1050, 2, "10.5"},
        {"", 1000, 2, "10"},
        {"", -5, 2, "-0.05"},
        {"", 7, 3, "0.007"},
        {"", 0, 2, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatScaledText(c.Pattern, c.Value, c.Decimals), c.Text)
            << "pattern " << c.Pattern << ", value " << c.Value << "e-" << c.Decimals;
}

} // namespace
} // namespace gravlink
