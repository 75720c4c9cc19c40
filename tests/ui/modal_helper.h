#pragma once

#include <QApplication>
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

} // namespace gravlink::test
