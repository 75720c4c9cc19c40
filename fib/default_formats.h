#pragma once

#include <string>

namespace gravlink {

// Display patterns a data set gives to its fields that have none of their own.
struct TDefaultFormats {
    std::string DateTimeDisplayFormat = "dd.mm.yyyy hh:mm AMPM";
    std::string NumericDisplayFormat = "#,##0.";
    std::string NumericEditFormat = "0.";
    std::string DisplayFormatDate = "dd.mm.yyyy";
    std::string DisplayFormatTime = "hh:mm AMPM";
};

// A numeric pattern widened to `decimals` decimals: a pattern ending with "." gets that
// many zeros ("#,##0." -> "#,##0.00"); when one character follows its ".", that
// character is repeated that many times; any other pattern stays as it is.
std::string WidenNumericPattern(const std::string& pattern, int decimals);

} // namespace gravlink
