#pragma once

#include <string>

namespace gravlink {

// What the window says of long work, in its status line and its boxes (Windows-1251).
std::string ExportProgressText(long long linesWritten);
std::string ExportDoneText(long long linesWritten, long long recordsStamped);
std::string StampAllProgressText();
std::string ClearAllProgressText();
std::string FetchProgressText(long long rowsFetched);
std::string RowCountText(long long rows);
// The question before every stamp is cleared.
std::string ClearAllQuestion();

} // namespace gravlink
