#pragma once

#include <QString>
#include <string>

namespace gravlink {

// The system's Windows-1251 text at the edge of the Qt layer.
QString ToQt(const std::string& win1251);
std::string FromQt(const QString& text);

} // namespace gravlink
