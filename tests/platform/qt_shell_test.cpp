#include "platform/qt/qt_shell.h"

#include <gtest/gtest.h>

#include <QStandardPaths>

#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

TEST(QtShell, PingOfLoopbackAnswersAndBadHostsFailWithoutARun) {
    EnsureQtApp();
    QtShell shell;
    EXPECT_EQ(shell.ping("-c 100 127.0.0.1"), -1);
    if (QStandardPaths::findExecutable("ping").isEmpty()) GTEST_SKIP() << "no ping command";
    const int ms = shell.ping("127.0.0.1");
    if (ms < 0) GTEST_SKIP() << "ping not permitted here (its output parse is PingReply's table)";
    EXPECT_GE(ms, 1);
}

}  // namespace
}  // namespace zelmar::platform
