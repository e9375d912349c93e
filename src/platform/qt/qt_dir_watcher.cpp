#include "platform/qt/qt_dir_watcher.h"

#include <QString>

#ifdef _WIN32
#include <windows.h>

#include <QWinEventNotifier>
#include <array>
#else
#include <sys/inotify.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#endif

namespace zelmar::platform {
namespace {
// The bits of the change callback.
constexpr int kNameBit = 1;
constexpr int kSizeBit = 2;
constexpr int kWriteBit = 4;
}  // namespace

#ifdef _WIN32

// Three handles as the system offers them: names, sizes, last-write times. When one is
// signalled all three are tested in that order, so one callback carries every bit that is set.
struct QtDirWatcher::Native {
    struct Handle {
        HANDLE handle = INVALID_HANDLE_VALUE;
        int bit = 0;
        std::unique_ptr<QWinEventNotifier> notifier;
    };
    std::array<Handle, 3> handles;

    ~Native() {
        for (auto& h : handles) {
            h.notifier.reset();
            if (h.handle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(h.handle);
        }
    }
    bool open(const std::string& folder, bool subtree, const std::function<void()>& onSignal) {
        const DWORD filters[] = {FILE_NOTIFY_CHANGE_FILE_NAME, FILE_NOTIFY_CHANGE_SIZE,
                                 FILE_NOTIFY_CHANGE_LAST_WRITE};
        const int bits[] = {kNameBit, kSizeBit, kWriteBit};
        const std::wstring path = QString::fromLocal8Bit(folder.c_str()).toStdWString();
        for (size_t i = 0; i < handles.size(); ++i) {
            handles[i].bit = bits[i];
            handles[i].handle = FindFirstChangeNotificationW(path.c_str(), subtree, filters[i]);
            if (handles[i].handle == INVALID_HANDLE_VALUE) return false;
        }
        for (auto& h : handles) {
            h.notifier = std::make_unique<QWinEventNotifier>(h.handle);
            QObject::connect(h.notifier.get(), &QWinEventNotifier::activated, onSignal);
        }
        return true;
    }
    int takeBits() {
        int bits = 0;
        for (auto& h : handles) {
            if (WaitForSingleObject(h.handle, 0) == WAIT_OBJECT_0) {
                bits |= h.bit;
                FindNextChangeNotification(h.handle);  // re-armed for the next change
            }
        }
        return bits;
    }
};

#else

// One inotify descriptor, drained at each notification.
struct QtDirWatcher::Native {
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;

    ~Native() {
        notifier.reset();
        if (fd >= 0) ::close(fd);
    }
    bool open(const std::string& folder, bool /*subtree*/, const std::function<void()>& onSignal) {
        fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd < 0) return false;
        constexpr uint32_t kEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                     IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_ONLYDIR;
        if (inotify_add_watch(fd, folder.c_str(), kEvents) < 0) return false;
        notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, onSignal);
        return true;
    }
    static int bitsOf(uint32_t mask) {
        int bits = 0;
        if (mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO)) bits |= kNameBit;
        if (mask & IN_MODIFY) bits |= kSizeBit | kWriteBit;
        if (mask & (IN_ATTRIB | IN_CLOSE_WRITE)) bits |= kWriteBit;
        // Events were dropped: anything may have changed.
        if (mask & IN_Q_OVERFLOW) bits |= kNameBit | kSizeBit | kWriteBit;
        return bits;
    }
    int takeBits() {
        alignas(inotify_event) char buffer[4096];
        int bits = 0;
        for (;;) {
            const ssize_t length = ::read(fd, buffer, sizeof buffer);
            if (length <= 0) {
                if (length < 0 && errno == EINTR) continue;
                return bits;  // drained (EAGAIN) or failed
            }
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                bits |= bitsOf(event->mask);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }
};

#endif

QtDirWatcher::QtDirWatcher() = default;

QtDirWatcher::~QtDirWatcher() {
    stop();
}

bool QtDirWatcher::start(const std::string& folder, bool subtree,
                         std::function<void(int bits)> onChange) {
    stop();
    auto native = std::make_unique<Native>();
    if (!native->open(folder, subtree, [this] { onSignalled(); })) return false;
    native_ = std::move(native);
    onChange_ = std::move(onChange);
    return true;
}

void QtDirWatcher::stop() {
    native_.reset();
    onChange_ = nullptr;
}

void QtDirWatcher::onSignalled() {
    if (!native_) return;
    const int bits = native_->takeBits();
    if (bits == 0) return;
    auto onChange = onChange_;  // the callback may stop or restart this watcher
    onChange(bits);
}

}  // namespace zelmar::platform
