#pragma once

#include <QString>
#include <string>

namespace gravlink {

// The display format of a Qt date or time editor for one of the system's date or time
// patterns ("dd.mm.yyyy", "h:mm:ss AMPM"): "/" stands for the date separator, ":" for
// the time separator, and other characters are shown as they are.
QString PickerDateFormat(const std::string& shortDatePattern, char dateSeparator);
QString PickerTimeFormat(const std::string& longTimePattern, char timeSeparator);

} // namespace gravlink
