#include "platform/win32/win32_event_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "support/pump_until.h"

namespace zelmar::platform {
namespace {

// Posted work and timers run in the order they fall due; at equal times in the order they were
// scheduled; work posted from work waits for the next pass.
TEST(Win32EventLoop, RunsTimersAndPostedWorkInDueOrder) {
    Win32EventLoop loop;
    std::vector<std::string> ran;
    loop.postDelayed(60, [&] { ran.push_back("post 60"); });
    loop.postDelayed(20, [&] { ran.push_back("post 20 first"); });
    loop.postDelayed(20, [&] { ran.push_back("post 20 second"); });
    loop.postDelayed(0, [&] {
        ran.push_back("post 0");
        loop.postDelayed(0, [&] { ran.push_back("posted by post 0"); });
    });
    auto timer = loop.createTimer([&] {
        ran.push_back("tick 40");
        loop.createTimer([] {})->setEnabled(true);  // a timer made and dropped in a tick
    });
    timer->setInterval(40);
    timer->setEnabled(true);
    loop.pumpOnce();
    EXPECT_EQ(ran, std::vector<std::string>{"post 0"});
    ASSERT_TRUE(testing::PumpUntil(loop, [&] { return ran.size() == 6; }));
    timer->setEnabled(false);
    EXPECT_EQ(ran, (std::vector<std::string>{"post 0", "posted by post 0", "post 20 first",
                                             "post 20 second", "tick 40", "post 60"}));
}

// A tick whose handler pumps the loop (a job's waits) is not entered again meanwhile; a timer
// with interval 0 never ticks.
TEST(Win32EventLoop, ATimerDoesNotTickInsideItsOwnTick) {
    Win32EventLoop loop;
    int depth = 0;
    int deepest = 0;
    int ticks = 0;
    auto timer = loop.createTimer([&] {
        ++ticks;
        deepest = std::max(deepest, ++depth);
        const auto until = loop.nowMs() + 60;
        while (loop.nowMs() < until) loop.pumpWait(static_cast<int>(until - loop.nowMs()));
        --depth;
    });
    timer->setInterval(10);
    timer->setEnabled(true);
    int zeroTicks = 0;
    auto zero = loop.createTimer([&] { ++zeroTicks; });
    zero->setEnabled(true);
    ASSERT_TRUE(testing::PumpUntil(loop, [&] { return ticks >= 2; }));
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(zeroTicks, 0);
}

// A device's event wakes the wait long before its bound, and another thread's wake or quit
// reaches the loop.
TEST(Win32EventLoop, WakesForAWatchedHandleAndForOtherThreads) {
    Win32EventLoop loop;
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    int signalled = 0;
    ASSERT_TRUE(loop.watchHandle(event, [&] { ++signalled; }));
    EXPECT_FALSE(loop.watchHandle(event, [] {}));
    std::thread device([event] {
        Sleep(50);
        SetEvent(event);
    });
    const auto start = loop.nowMs();
    loop.pumpWait(10000);
    device.join();
    EXPECT_EQ(signalled, 1);
    EXPECT_LT(loop.nowMs() - start, 5000);

    loop.unwatch(event);
    CloseHandle(event);
    std::thread other([&loop] {
        Sleep(50);
        loop.quit(7);
    });
    EXPECT_EQ(loop.run(), 7);
    other.join();
    EXPECT_LT(loop.nowMs() - start, 5000);
}

}  // namespace
}  // namespace zelmar::platform
