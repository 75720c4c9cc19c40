#pragma once

#include "support/text_format_settings.h"

namespace gravlink {

// Fills the process-wide TextFormatSettings from the user's regional settings: on
// Linux the user's locale, taken for the process (setlocale(LC_ALL, "")); on Windows
// the user's default locale. Called once at start-up, before any window.
void ReadTextFormatSettings();

// The text settings of the calling thread's current locale (on Linux the one
// uselocale set, or the process's; on Windows the user's default locale); what
// cannot be read keeps its default.
TFormatSettings TextFormatSettingsOfCurrentLocale();

} // namespace gravlink
