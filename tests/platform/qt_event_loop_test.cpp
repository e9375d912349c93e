#include "platform/qt/qt_event_loop.h"

#include <gtest/gtest.h>

#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

TEST(QtEventLoop, PumpWaitWakesOnPostedWorkAndOtherwiseSleepsItsMaximum) {
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
}

TEST(QtEventLoop, TimersTickOnlyWhileEnabledAtANonZeroIntervalAndPostsDieWithTheLoop) {
    EnsureQtApp();
    bool ran = false;
    {
        QtEventLoop dying;
        dying.postDelayed(0, [&] { ran = true; });
    }
    QtEventLoop loop;
    int ticks = 0;
    auto timer = loop.createTimer([&] { ++ticks; });
    timer->setEnabled(true);
    loop.pumpWait(100);
    EXPECT_EQ(ticks, 0);
    EXPECT_FALSE(ran);
    timer->setInterval(20);
    ASSERT_TRUE(PumpUntil(
        loop, [&] { return ticks >= 3; }, 2000));
    timer->setEnabled(false);
    const int stopped = ticks;
    loop.pumpWait(100);
    EXPECT_EQ(ticks, stopped);
}

}  // namespace
}  // namespace zelmar::platform
