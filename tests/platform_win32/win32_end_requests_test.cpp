#include "platform/win32/win32_end_requests.h"

#include <gtest/gtest.h>

#include "support/pump_until.h"

namespace zelmar::platform {
namespace {

// The uninstaller's stop event ends the program once, through the loop.
TEST(Win32EndRequests, TheStopEventAsksForTheEndOnce) {
    Win32EventLoop loop;
    int ends = 0;
    Win32EndRequests requests(loop, [&] { ++ends; });
    HANDLE stop = OpenEventA(EVENT_MODIFY_STATE, FALSE, "Local\\Zelmar1-Stop");
    ASSERT_NE(stop, nullptr);
    SetEvent(stop);
    CloseHandle(stop);
    ASSERT_TRUE(testing::PumpUntil(loop, [&] { return ends > 0; }));
    loop.pumpWait(100);
    EXPECT_EQ(ends, 1);
}

}  // namespace
}  // namespace zelmar::platform
