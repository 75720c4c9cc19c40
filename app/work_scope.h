#pragma once

#include "app/main_window.h"

namespace gravlink {

// One controller operation that reaches the database or a file: the window shows
// the wait cursor from here to the end of the scope, on every path out of it.
class TWorkScope {
public:
    explicit TWorkScope(IMainWindow& window) : FWindow(window) { FWindow.BeginWork(); }
    ~TWorkScope() { FWindow.EndWork(); }
    TWorkScope(const TWorkScope&) = delete;
    TWorkScope& operator=(const TWorkScope&) = delete;

private:
    IMainWindow& FWindow;
};

} // namespace gravlink
