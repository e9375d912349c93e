#pragma once

#include <array>

#include "platform/dir_watcher.h"
#include "platform/win32/win32_event_loop.h"

namespace zelmar::platform {

// Change notification on one folder through three change-notification handles (file names,
// sizes, last-write times) that the loop watches, so no timer polls them. When one is signalled
// all three are tested in that order and re-armed, so one callback carries every bit set.
class Win32DirWatcher : public DirWatcher {
  public:
    explicit Win32DirWatcher(Win32EventLoop& loop);
    ~Win32DirWatcher() override;
    Win32DirWatcher(const Win32DirWatcher&) = delete;
    Win32DirWatcher& operator=(const Win32DirWatcher&) = delete;

    bool start(const std::string& folder, bool subtree,
               std::function<void(int bits)> onChange) override;
    void stop() override;

  private:
    struct Notification {
        HANDLE handle = INVALID_HANDLE_VALUE;
        int bit = 0;
    };
    void onSignalled();

    Win32EventLoop& loop_;
    std::array<Notification, 3> notifications_;
    std::function<void(int)> onChange_;
};

}  // namespace zelmar::platform
