#include "platform/win32/win32_dir_watcher.h"

#include <gtest/gtest.h>

#include "config/scratch_folder.h"
#include "support/pump_until.h"

namespace zelmar::platform {
namespace {

TEST(Win32DirWatcher, ReportsACreatedFileAndFailsOnAMissingFolder) {
    Win32EventLoop loop;
    testing::ScratchFolder folder("watch");
    Win32DirWatcher watcher(loop);
    int bits = 0;
    ASSERT_TRUE(watcher.start(folder.path(), false, [&](int changed) { bits |= changed; }));
    folder.put("SR_START.001", "");
    ASSERT_TRUE(testing::PumpUntil(loop, [&] { return (bits & 1) != 0; }));
    EXPECT_EQ(bits & ~7, 0);

    EXPECT_FALSE(watcher.start(folder.file("missing"), false, [&](int) { bits = -1; }));
    folder.put("SR_DATI.001", "x");
    loop.pumpWait(200);
    EXPECT_NE(bits, -1);  // a failed start leaves nothing running
}

}  // namespace
}  // namespace zelmar::platform
