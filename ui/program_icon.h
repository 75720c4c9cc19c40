#pragma once

#include <QIcon>

namespace gravlink {

// The program's icon at every size the desktop asks for (16, 32, 48 and 256 pixels),
// the same pictures the desktop entry's icon theme holds.
QIcon ProgramIcon();
// Makes it the icon of every window of the application: the main window and each
// dialog alike.
void SetProgramIcon();

} // namespace gravlink
