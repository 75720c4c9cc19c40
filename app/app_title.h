#pragma once

#include <string>

namespace gravlink {

// The application title, caption of the main window and of every message box
// (Windows-1251).
const std::string& AppTitle();

} // namespace gravlink
