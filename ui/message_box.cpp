#include "ui/message_box.h"

#include "ui/wait_cursor.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStyle>

namespace gravlink {

namespace {

// Room the frame takes beside the caption: the window's icon and its close button.
int CaptionWidth(const QMessageBox& box) {
    const QFont captionFont = QApplication::font("QMdiSubWindowTitleBar");
    const int text = QFontMetrics(captionFont).horizontalAdvance(box.windowTitle());
    const int button = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    // Window managers draw captions a little larger than the application's own face.
    return text * 5 / 4 + 3 * button + 48;
}

} // namespace

int ExecMessageBox(QMessageBox& box) {
    if (auto* layout = qobject_cast<QGridLayout*>(box.layout()))
        layout->addItem(
            new QSpacerItem(CaptionWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
            layout->rowCount(), 0, 1, layout->columnCount());
    const TOverrideCursor arrow(Qt::ArrowCursor);
    return box.exec();
}

} // namespace gravlink
