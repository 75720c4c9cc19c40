#pragma once

#include <string>

namespace gravlink {

// The controller's own texts that lead each report (Windows-1251).
struct TReportTexts {
    std::string ConnectFailed;   // connecting
    std::string FormatFailed;    // the stamp column check
    std::string QueryFailed;     // opening the record view
    std::string OperationFailed; // the export and the marking commands
};
const TReportTexts& ReportTexts();

} // namespace gravlink
