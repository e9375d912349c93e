#include "platform/qt/qt_event_loop.h"

#include <gtest/gtest.h>

#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

TEST(QtEventLoop, PumpWaitWakesOnWorkOrSleepsItsMaximumPostsDieWithTheLoopTimersNeedAnInterval) {
    EnsureQtApp();
    QtEventLoop loop;
    bool ran = false;
    loop.postDelayed(30, [&] { ran = true; });
    auto start = loop.nowMs();
    ASSERT_TRUE(PumpUntil(
        loop, [&] { return ran; }, 2000));
    EXPECT_LT(loop.nowMs() - start, 1000);
    start = loop.nowMs();
    loop.pumpWait(150);
    const auto slept = loop.nowMs() - start;
    EXPECT_GE(slept, 140);
    EXPECT_LT(slept, 1000);

    ran = false;
    {
        QtEventLoop dying;
        dying.postDelayed(0, [&] { ran = true; });
    }
    int ticks = 0;
    auto timer = loop.createTimer([&] { ++ticks; });
    timer->setEnabled(true);  // interval 0: never ticks
    loop.pumpWait(100);
    EXPECT_FALSE(ran);
    EXPECT_EQ(ticks, 0);
    timer->setInterval(20);
    EXPECT_TRUE(PumpUntil(
        loop, [&] { return ticks >= 3; }, 2000));
}

}  // namespace
}  // namespace zelmar::platform
