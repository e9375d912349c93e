#include "app/watch_for_changes.h"

#include <utility>

namespace zelmar::app {
namespace {

// Delivery waits for the next turn of the loop, no longer: changes reported before it (the
// data file and the start file written one after the other) still raise one event, and a job
// starts without a pause of its own.
constexpr int kCoalesceMs = 0;

}  // namespace

WatchForChanges::WatchForChanges(platform::EventLoop& loop,
                                 std::unique_ptr<platform::DirWatcher> watcher,
                                 std::function<void(int)> onChangeDetected)
    : loop_(loop), watcher_(std::move(watcher)), onChangeDetected_(std::move(onChangeDetected)) {}

WatchForChanges::~WatchForChanges() {
    StopWatch();
}

bool WatchForChanges::StartWatch(const std::string& path, bool suspend, bool watchSubtree) {
    StopWatch();
    suspend_ = suspend;
    std::weak_ptr<int> alive = token_;
    const bool started = watcher_ && watcher_->start(path, watchSubtree, [this, alive](int bits) {
        if (alive.lock()) OnPlatformChange(bits);
    });
    if (!started) {
        StopWatch();
        return false;
    }
    return true;
}

void WatchForChanges::StopWatch() {
    if (watcher_) watcher_->stop();
    suspend_ = false;
    pendingBits_ = 0;
    deliveryScheduled_ = false;
    token_ = std::make_shared<int>(0);
}

void WatchForChanges::SetSuspendWatch(bool suspend) {
    suspend_ = suspend;
    if (!suspend_ && pendingBits_ != 0) ScheduleDelivery();
}

void WatchForChanges::OnPlatformChange(int bits) {
    pendingBits_ |= bits & 7;
    if (!suspend_ && pendingBits_ != 0) ScheduleDelivery();
}

void WatchForChanges::ScheduleDelivery() {
    if (deliveryScheduled_) return;
    deliveryScheduled_ = true;
    std::weak_ptr<int> alive = token_;
    loop_.postDelayed(kCoalesceMs, [this, alive] {
        if (alive.lock()) Deliver();
    });
}

void WatchForChanges::Deliver() {
    deliveryScheduled_ = false;
    if (suspend_ || pendingBits_ == 0) return;
    const int bits = std::exchange(pendingBits_, 0);
    // The handler may destroy this watcher: call through a copy and touch nothing afterwards.
    auto handler = onChangeDetected_;
    handler(bits);
}

}  // namespace zelmar::app
