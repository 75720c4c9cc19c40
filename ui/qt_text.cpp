#include "ui/qt_text.h"

#include "support/code_page.h"

namespace gravlink {

QString ToQt(const std::string& win1251) {
    return QString::fromStdString(Win1251ToUtf8(win1251));
}

std::string FromQt(const QString& text) {
    return Utf8ToWin1251(text.toStdString());
}

} // namespace gravlink
