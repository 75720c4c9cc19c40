#pragma once

#include "support/text_format_settings.h"

namespace gravlink {

// Takes the user's locale for the process (setlocale(LC_ALL, "")) and fills the
// process-wide TextFormatSettings from it. Called once at start-up, before any window.
void ReadTextFormatSettings();

// The text settings of the calling thread's current locale (the one uselocale set, or
// the process's); what cannot be read keeps its default.
TFormatSettings TextFormatSettingsOfCurrentLocale();

} // namespace gravlink
