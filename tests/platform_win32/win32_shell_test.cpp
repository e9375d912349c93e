#include "platform/win32/win32_shell.h"

#include <gtest/gtest.h>

namespace zelmar::platform {
namespace {

TEST(Win32Shell, PingOfLoopbackAnswersAndBadHostsFailWithoutARun) {
    Win32EventLoop loop;
    Win32Shell shell(loop);
    for (const char* host : {"-n 100 127.0.0.1", "127.0.0.1\" & del *", "127.0.0.1 & calc"}) {
        EXPECT_EQ(shell.ping(host), -1) << host;
    }
    int ticks = 0;
    auto timer = loop.createTimer([&] { ++ticks; });
    timer->setInterval(1);
    timer->setEnabled(true);
    const int ms = shell.ping("127.0.0.1");
    if (ms < 0) GTEST_SKIP() << "ping not permitted here (its output parse is PingReply's table)";
    EXPECT_GE(ms, 1);
    EXPECT_GT(ticks, 0);  // the loop turned while the command ran
}

}  // namespace
}  // namespace zelmar::platform
