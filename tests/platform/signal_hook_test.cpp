#include "platform/qt/signal_hook.h"

#include <gtest/gtest.h>

#include <csignal>

#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

TEST(SignalHook, InterruptAndTerminateArriveOnTheLoop) {
    EnsureQtApp();
    QtEventLoop loop;
    std::vector<int> seen;
    SignalHook hook([&](int number) { seen.push_back(number); });
    for (const int number : {SIGINT, SIGTERM}) {
        seen.clear();
        ASSERT_EQ(std::raise(number), 0);
        EXPECT_TRUE(seen.empty());  // not inside the handler
        ASSERT_TRUE(PumpUntil(loop, [&] { return !seen.empty(); }));
        EXPECT_EQ(seen, std::vector<int>({number}));
    }
}

}  // namespace
}  // namespace zelmar::platform
