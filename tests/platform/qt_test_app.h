#pragma once

#include <QCoreApplication>

namespace zelmar::platform {

// The one QCoreApplication the Qt classes need, made on first use.
inline void EnsureQtApp() {
    static int argc = 1;
    static char name[] = "tests_platform";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

}  // namespace zelmar::platform
