#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fake/fake_dir_watcher.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_file_system.h"

namespace zelmar::platform {
namespace {

TEST(FakeFileSystem, InjectedRemovalFailuresLeaveTheFileAndAreCounted) {
    const auto folder = std::filesystem::temp_directory_path() / "zelmar_fake_fs_test";
    std::filesystem::create_directories(folder);
    const std::string stuck = (folder / "stuck.001").string();
    const std::string other = (folder / "other.001").string();
    FakeFileSystem files;
    ASSERT_TRUE(files.writeBytes(stuck, "x"));
    ASSERT_TRUE(files.writeBytes(other, "y"));

    files.failRemove(stuck, 2);
    EXPECT_FALSE(files.removeFile(stuck));
    EXPECT_FALSE(files.removeFile(stuck));
    EXPECT_TRUE(files.fileExists(stuck));
    EXPECT_TRUE(files.removeFile(other));  // other paths are not affected
    EXPECT_TRUE(files.removeFile(stuck));
    EXPECT_FALSE(files.fileExists(stuck));
    EXPECT_EQ(files.removeAttempts(stuck), 3);
    EXPECT_EQ(files.removeAttempts(other), 1);

    files.failRemove(stuck, 1);  // a missing file is gone even when removal "fails"
    EXPECT_TRUE(files.removeFile(stuck));
    std::filesystem::remove_all(folder);
}

TEST(FakeDirWatcher, DeliversOnTheLoopAndStopsWithTheWatch) {
    FakeEventLoop loop;
    FakeDirWatcher watcher(loop);
    std::vector<int> events;
    ASSERT_TRUE(watcher.start("/data", false, [&](int bits) { events.push_back(bits); }));

    watcher.fire(1);
    EXPECT_TRUE(events.empty());  // not inside fire: on the loop
    loop.pumpOnce();
    EXPECT_EQ(events, std::vector<int>({1}));

    watcher.fire(2);
    watcher.fire(4);
    loop.pumpOnce();
    EXPECT_EQ(events, std::vector<int>({1, 6}));  // changes before the loop ran: one event

    watcher.fire(1);
    watcher.stop();
    loop.pumpOnce();
    EXPECT_EQ(events.size(), 2u);
    EXPECT_EQ(watcher.stopCount(), 1);
    watcher.stop();  // safe when nothing runs
    EXPECT_EQ(watcher.stopCount(), 1);
}

TEST(FakeDirWatcher, APendingDeliveryOutlivingTheWatcherIsDropped) {
    FakeEventLoop loop;
    int events = 0;
    {
        FakeDirWatcher watcher(loop);
        watcher.start("/data", false, [&](int) { ++events; });
        watcher.fire(1);
    }
    loop.pumpOnce();
    EXPECT_EQ(events, 0);
}

}  // namespace
}  // namespace zelmar::platform
