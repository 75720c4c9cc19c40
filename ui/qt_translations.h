#pragma once

class QLocale;
class QTranslator;

namespace gravlink {

// Loads and installs Qt's own translations for the locale (the texts of its dialogs
// and buttons, Yes and No among them) from the folder Qt was installed with. The
// translator belongs to the application; null when there are none for that language.
QTranslator* LoadQtTranslations(const QLocale& locale);

} // namespace gravlink
