#pragma once

#include <QCoreApplication>
#include <functional>

#include "platform/qt/qt_event_loop.h"

namespace zelmar::platform {

// The one QCoreApplication the Qt classes need, made on first use.
inline void EnsureQtApp() {
    static int argc = 1;
    static char name[] = "tests_platform";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Pumps the loop until done() holds or limitMs pass; true when done() held.
inline bool PumpUntil(QtEventLoop& loop, const std::function<bool()>& done, int limitMs = 3000) {
    const auto deadline = loop.nowMs() + limitMs;
    while (!done()) {
        const auto left = deadline - loop.nowMs();
        if (left <= 0) return false;
        loop.pumpWait(static_cast<int>(left));
    }
    return true;
}

}  // namespace zelmar::platform
