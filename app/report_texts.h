#pragma once

#include <string>

namespace gravlink {

// The controller's own texts that lead each report (Windows-1251).
struct TReportTexts {
    std::string ConnectFailed;   // connecting
    std::string FormatFailed;    // the stamp column check
    std::string QueryFailed;     // opening the record view
    std::string OperationFailed; // the export and the marking commands
    // A settings file read only up to a damage: the heading, the words before the
    // byte where reading stopped, and what an unattended run then leaves undone.
    std::string SettingsDamaged;
    std::string SettingsStoppedAt;
    std::string ExportNotRun;
};
const TReportTexts& ReportTexts();

} // namespace gravlink
