#pragma once

namespace gravlink {

// There is a display the window could be shown on: the session names one, or the
// window toolkit is told explicitly where to draw (QT_QPA_PLATFORM, as the tests'
// offscreen platform).
bool DisplayAvailable();

} // namespace gravlink
