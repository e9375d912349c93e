#include "platform/win32/win32_dir_watcher.h"

namespace zelmar::platform {
namespace {

struct Filter {
    DWORD filter;
    int bit;  // of the change callback
};
constexpr Filter kFilters[] = {{FILE_NOTIFY_CHANGE_FILE_NAME, 1},
                               {FILE_NOTIFY_CHANGE_SIZE, 2},
                               {FILE_NOTIFY_CHANGE_LAST_WRITE, 4}};

}  // namespace

Win32DirWatcher::Win32DirWatcher(Win32EventLoop& loop) : loop_(loop) {}

Win32DirWatcher::~Win32DirWatcher() {
    stop();
}

bool Win32DirWatcher::start(const std::string& folder, bool subtree,
                            std::function<void(int bits)> onChange) {
    stop();
    for (std::size_t i = 0; i < notifications_.size(); ++i) {
        Notification& notification = notifications_[i];
        notification.bit = kFilters[i].bit;
        notification.handle =
            FindFirstChangeNotificationA(folder.c_str(), subtree, kFilters[i].filter);
        if (notification.handle == INVALID_HANDLE_VALUE ||
            !loop_.watchHandle(notification.handle, [this] { onSignalled(); })) {
            stop();
            return false;
        }
    }
    onChange_ = std::move(onChange);
    return true;
}

void Win32DirWatcher::stop() {
    for (Notification& notification : notifications_) {
        if (notification.handle == INVALID_HANDLE_VALUE) continue;
        loop_.unwatch(notification.handle);
        FindCloseChangeNotification(notification.handle);
        notification.handle = INVALID_HANDLE_VALUE;
    }
    onChange_ = nullptr;
}

void Win32DirWatcher::onSignalled() {
    int bits = 0;
    bool rearmed = true;
    for (const Notification& notification : notifications_) {
        if (WaitForSingleObject(notification.handle, 0) != WAIT_OBJECT_0) continue;
        bits |= notification.bit;
        rearmed = FindNextChangeNotification(notification.handle) && rearmed;
    }
    auto onChange = onChange_;  // the callback may stop or restart this watcher
    // A handle that cannot be re-armed (the folder went away) would stay signalled for ever.
    if (!rearmed) stop();
    if (bits != 0 && onChange) onChange(bits);
}

}  // namespace zelmar::platform
