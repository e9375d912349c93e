#include "platform/fake/fake_dir_watcher.h"

namespace zelmar::platform {

bool FakeDirWatcher::start(const std::string& folder, bool /*subtree*/,
                           std::function<void(int bits)> onChange) {
    stop();
    folder_ = folder;
    onChange_ = std::move(onChange);
    running_ = true;
    return true;
}

void FakeDirWatcher::stop() {
    running_ = false;
    pending_ = 0;
    onChange_ = nullptr;
}

void FakeDirWatcher::fire(int bits) {
    if (!running_ || bits == 0) return;
    if (pending_ == 0) scheduleDelivery();
    pending_ |= bits;
}

void FakeDirWatcher::scheduleDelivery() {
    loop_.postDelayed(0, [weak = std::weak_ptr<FakeDirWatcher*>(self_)] {
        if (const auto self = weak.lock()) (*self)->deliver();
    });
}

void FakeDirWatcher::deliver() {
    if (!running_ || pending_ == 0) return;
    const int bits = pending_;
    pending_ = 0;
    auto onChange = onChange_;  // the callback may stop or restart this watcher
    onChange(bits);
}

}  // namespace zelmar::platform
