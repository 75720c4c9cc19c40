#pragma once

namespace gravlink {

// There is a display the window could be shown on: on Linux the session names one;
// on Windows the process's desktop is one a person sees; or the window toolkit is told
// explicitly where to draw (QT_QPA_PLATFORM, as the tests' offscreen platform).
bool DisplayAvailable();

} // namespace gravlink
