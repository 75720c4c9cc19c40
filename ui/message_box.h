#pragma once

class QMessageBox;

namespace gravlink {

// Shows a box modally and returns the button pressed. The box is at least as wide as
// its caption needs, so the caption is never cut, and the pointer is an arrow over it
// even while work has the wait cursor on.
int ExecMessageBox(QMessageBox& box);

} // namespace gravlink
