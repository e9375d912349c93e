#include "platform/fake/fake_event_loop.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace zelmar::platform {
namespace {

TEST(FakeEventLoop, RunsWorkInTimeOrderPostedBeforeTimersAtEqualTimes) {
    FakeEventLoop loop;
    std::vector<std::string> order;
    auto timer = loop.createTimer([&] { order.push_back("tick@" + std::to_string(loop.nowMs())); });
    timer->setInterval(100);
    timer->setEnabled(true);
    loop.postDelayed(100, [&] { order.push_back("reply@100"); });
    loop.postDelayed(50, [&] { order.push_back("a@50"); });
    loop.postDelayed(50, [&] { order.push_back("b@50"); });
    loop.advance(250);
    EXPECT_EQ(order,
              (std::vector<std::string>{"a@50", "b@50", "reply@100", "tick@100", "tick@200"}));

    timer->setEnabled(false);
    loop.postDelayed(100, [&] { order.push_back("late"); });
    loop.sleepMs(500);  // sleeping runs nothing
    EXPECT_EQ(order.size(), 5u);
    loop.pumpOnce();
    EXPECT_EQ(order.back(), "late");
    EXPECT_EQ(loop.nowMs(), 750);
}

TEST(FakeEventLoop, PumpWaitJumpsToTheNextEventButNotPastItsLimit) {
    // post time (-1: nothing posted), limit, time after, whether the work ran
    const std::tuple<int, int, std::int64_t, bool> cases[] = {
        {30, 100, 30, true}, {300, 100, 100, false}, {-1, 100, 100, false}, {0, 0, 0, true}};
    for (const auto& [postAt, maxMs, nowAfter, expectRan] : cases) {
        FakeEventLoop loop;
        bool ran = false;
        if (postAt >= 0) loop.postDelayed(postAt, [&] { ran = true; });
        loop.pumpWait(maxMs);
        EXPECT_EQ(std::pair(loop.nowMs(), ran), std::pair(nowAfter, expectRan)) << postAt;
    }
}

TEST(FakeEventLoop, TimerFollowsWindowTimerRules) {
    FakeEventLoop loop;
    int ticks = 0;
    auto timer = loop.createTimer([&] { ++ticks; });
    timer->setEnabled(true);  // interval 0: a window timer that never ticks
    loop.advance(1000);
    timer->setInterval(300);  // restarts the count from now: ticks at 1300, 1600
    loop.advance(450);
    timer->setEnabled(true);  // already running: no restart
    loop.advance(150);
    EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace zelmar::platform
