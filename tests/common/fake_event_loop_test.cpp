#include "platform/fake/fake_event_loop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
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
    const std::vector<std::string> expected = {"a@50", "b@50", "reply@100", "tick@100", "tick@200"};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(loop.nowMs(), 250);
}

TEST(FakeEventLoop, PumpWaitJumpsToTheNextEventButNotPastItsLimit) {
    struct Case {
        int postAt;  // -1: nothing posted
        int maxMs;
        std::int64_t nowAfter;
        bool ran;
    };
    const Case cases[] = {
        {30, 100, 30, true}, {300, 100, 100, false}, {-1, 100, 100, false},
        {0, 0, 0, true},     {-1, 0, 0, false},
    };
    for (const auto& c : cases) {
        FakeEventLoop loop;
        bool ran = false;
        if (c.postAt >= 0) loop.postDelayed(c.postAt, [&] { ran = true; });
        loop.pumpWait(c.maxMs);
        EXPECT_EQ(loop.nowMs(), c.nowAfter) << c.postAt << " " << c.maxMs;
        EXPECT_EQ(ran, c.ran) << c.postAt << " " << c.maxMs;
    }
}

TEST(FakeEventLoop, SleepAdvancesTimeWithoutRunningAnythingUntilPumped) {
    FakeEventLoop loop;
    int runs = 0;
    loop.postDelayed(100, [&] { ++runs; });
    loop.sleepMs(500);
    EXPECT_EQ(runs, 0);
    loop.pumpOnce();
    EXPECT_EQ(runs, 1);
}

TEST(FakeEventLoop, TimerFollowsWindowTimerRules) {
    FakeEventLoop loop;
    int ticks = 0;
    auto timer = loop.createTimer([&] { ++ticks; });
    timer->setEnabled(true);  // interval 0: a window timer that never ticks
    loop.advance(1000);
    EXPECT_EQ(ticks, 0);

    timer->setInterval(300);  // restarts the count from now
    loop.advance(299);
    EXPECT_EQ(ticks, 0);
    loop.advance(1);
    EXPECT_EQ(ticks, 1);
    timer->setEnabled(true);  // already running: no restart
    loop.advance(300);
    EXPECT_EQ(ticks, 2);
    timer->setEnabled(false);
    loop.advance(1000);
    EXPECT_EQ(ticks, 2);
}

TEST(FakeEventLoop, TimersMayEndThemselvesAndOutliveTheLoop) {
    std::unique_ptr<Timer> survivor;
    {
        FakeEventLoop loop;
        std::unique_ptr<Timer> once;
        int ticks = 0;
        once = loop.createTimer([&] {
            ++ticks;
            once.reset();
        });
        once->setInterval(10);
        once->setEnabled(true);
        loop.advance(100);
        EXPECT_EQ(ticks, 1);
        survivor = loop.createTimer([] {});
    }
    survivor.reset();  // the loop is gone first: must not touch it
}

TEST(FakeEventLoop, LocalTimeIsCalendarArithmeticInAnyTimeZone) {
    const char* saved = std::getenv("TZ");
    const std::string savedZone = saved ? saved : "";
    setenv("TZ", "Europe/Rome", 1);
    tzset();
    struct Case {
        LocalDateTime start;
        std::int64_t advanceMs;
        LocalDateTime expected;
    };
    const Case cases[] = {
        {{2026, 12, 31, 23, 59, 59}, 1500, {2027, 1, 1, 0, 0, 0}},
        {{2026, 3, 29, 1, 59, 59}, 1000, {2026, 3, 29, 2, 0, 0}},  // no clock change applied
        {{2028, 2, 28, 12, 0, 0}, 86'400'000, {2028, 2, 29, 12, 0, 0}},
    };
    for (const auto& c : cases) {
        FakeEventLoop loop;
        loop.setStartDateTime(c.start);
        loop.advance(c.advanceMs);
        const auto now = loop.localNow();
        EXPECT_EQ(
            std::vector<int>({now.year, now.month, now.day, now.hour, now.minute, now.second}),
            std::vector<int>({c.expected.year, c.expected.month, c.expected.day, c.expected.hour,
                              c.expected.minute, c.expected.second}));
    }
    if (saved) {
        setenv("TZ", savedZone.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
}  // namespace zelmar::platform
