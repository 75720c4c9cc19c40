#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace gravlink::test {

// Acts on the modal window that the code under test is about to open, from
// inside its event loop.
template <class TWindow> void WhenModal(std::function<void(TWindow*)> act) {
    QTimer::singleShot(0, [act] {
        auto* window = qobject_cast<TWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        act(window);
    });
}

// Acts on a modal window that may or may not come while context lives.
template <class TWindow> void IfModal(QObject* context, std::function<void(TWindow*)> act) {
    QTimer::singleShot(0, context, [act] {
        if (auto* window = qobject_cast<TWindow*>(QApplication::activeModalWidget()))
            act(window);
    });
}

// Types into an edit of an active window the way the operator does: with the
// focus in it, so that nothing else echoes into it meanwhile.
inline void TypeInto(QLineEdit* edit, const QString& text) {
    edit->window()->activateWindow();
    edit->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(edit->hasFocus());
    edit->setText(text);
}

} // namespace gravlink::test
