#pragma once

#include <QApplication>
#include <QCursor>

namespace gravlink {

// A cursor over the whole application for the length of a scope; scopes nest. The
// wait cursor while work runs; the arrow over a box that asks the operator meanwhile.
class TOverrideCursor {
public:
    explicit TOverrideCursor(Qt::CursorShape shape = Qt::WaitCursor) {
        QApplication::setOverrideCursor(QCursor(shape));
    }
    ~TOverrideCursor() { QApplication::restoreOverrideCursor(); }
    TOverrideCursor(const TOverrideCursor&) = delete;
    TOverrideCursor& operator=(const TOverrideCursor&) = delete;
};

} // namespace gravlink
