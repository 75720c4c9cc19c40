#include "ui/program_icon.h"

#include <QApplication>

// The resource lives in a static library: it is registered when first asked for.
// Q_INIT_RESOURCE must be called outside any namespace.
static void InitProgramIconResource() {
    Q_INIT_RESOURCE(program_icon);
}

namespace gravlink {

QIcon ProgramIcon() {
    static const bool registered = (InitProgramIconResource(), true);
    (void)registered;
    QIcon icon;
    for (const int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/gravlink/gravlink-%1.png").arg(size), QSize(size, size));
    return icon;
}

void SetProgramIcon() {
    QApplication::setWindowIcon(ProgramIcon());
}

} // namespace gravlink
