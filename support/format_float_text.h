#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gravlink {

// The text of a number by a numeric display pattern:
//   "0"  a digit that is always written (leading or trailing zero when needed)
//   "#"  a digit written only when it is significant
//   "."  the first one marks the decimal point, written as TextFormatSettings.DecimalPoint
//   ","  anywhere before the decimal point: group the whole part by thousands with
//        TextFormatSettings.ThousandSeparatorChar
//   ";"  separates the sections for positive, negative and zero values; the negative
//        section is written without a minus sign, and an empty or missing one falls
//        back to the positive section with a "-" in front
//   quoted text ('…' or "…") and any other character are copied; those ahead of the
//   first digit place lead the number, all others follow it.
// The value is rounded, half away from zero, to as many decimals as the pattern has
// digit places after its decimal point. A value that rounds to zero takes the zero
// section when there is one and never shows a minus sign. An empty pattern, infinity
// and an undefined value give FloatText.
std::string FormatFloatText(std::string_view pattern, double value);
// The same for the exact number value x 10^-decimals (a 64-bit exact numeric), rounded
// on all its digits; an empty pattern gives the plain digits with the decimal point.
std::string FormatScaledText(std::string_view pattern, int64_t value, int decimals);

} // namespace gravlink
