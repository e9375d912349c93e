#include "platform/qt/qt_dir_watcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace zelmar::platform {
namespace {
// The bits of the change callback.
constexpr int kNameBit = 1;
constexpr int kSizeBit = 2;
constexpr int kWriteBit = 4;
}  // namespace

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
