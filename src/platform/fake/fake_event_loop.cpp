#include "platform/fake/fake_event_loop.h"

#include <algorithm>
#include <ctime>

namespace zelmar::platform {

class FakeEventLoop::FakeTimer : public Timer {
  public:
    FakeTimer(FakeEventLoop& loop, std::function<void()> onTick)
        : loop_(loop), onTick_(std::move(onTick)) {
        loop_.timers_.push_back(this);
    }
    ~FakeTimer() override {
        auto& timers = loop_.timers_;
        timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
    }
    void setInterval(int ms) override {
        interval_ = ms;
        if (enabled_) due_ = loop_.now_ + interval_;
    }
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override {
        if (enabled && !enabled_) due_ = loop_.now_ + interval_;
        enabled_ = enabled;
    }
    bool enabled() const override { return enabled_; }

    std::int64_t due() const { return enabled_ ? due_ : -1; }
    void fire() {
        due_ = loop_.now_ + std::max(interval_, 1);
        onTick_();
    }

  private:
    FakeEventLoop& loop_;
    std::function<void()> onTick_;
    int interval_ = 0;
    bool enabled_ = false;
    std::int64_t due_ = 0;
};

FakeEventLoop::FakeEventLoop() = default;
FakeEventLoop::~FakeEventLoop() = default;

LocalDateTime FakeEventLoop::localNow() const {
    std::tm tm{};
    tm.tm_year = start_.year - 1900;
    tm.tm_mon = start_.month - 1;
    tm.tm_mday = start_.day;
    tm.tm_hour = start_.hour;
    tm.tm_min = start_.minute;
    tm.tm_sec = start_.second + static_cast<int>(now_ / 1000);
    tm.tm_isdst = -1;
    std::mktime(&tm);  // normalises the overflowing seconds
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::unique_ptr<Timer> FakeEventLoop::createTimer(std::function<void()> onTick) {
    return std::make_unique<FakeTimer>(*this, std::move(onTick));
}

void FakeEventLoop::postDelayed(int delayMs, std::function<void()> fn) {
    posted_.push_back({now_ + std::max(delayMs, 0), order_++, std::move(fn)});
}

std::int64_t FakeEventLoop::nextDue() const {
    std::int64_t best = -1;
    for (const auto& item : posted_) {
        if (best < 0 || item.due < best) best = item.due;
    }
    for (const auto* timer : timers_) {
        const auto due = timer->due();
        if (due >= 0 && (best < 0 || due < best)) best = due;
    }
    return best;
}

bool FakeEventLoop::runOneDue() {
    // Posted work first at equal times: device replies precede the time-out tick.
    auto item = std::min_element(posted_.begin(), posted_.end(), [](const auto& a, const auto& b) {
        return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
    FakeTimer* timer = nullptr;
    for (auto* candidate : timers_) {
        const auto due = candidate->due();
        if (due >= 0 && due <= now_ && (!timer || due < timer->due())) timer = candidate;
    }
    if (item != posted_.end() && item->due <= now_ && (!timer || item->due <= timer->due())) {
        auto fn = std::move(item->fn);
        posted_.erase(item);
        fn();
        return true;
    }
    if (timer) {
        timer->fire();
        return true;
    }
    return false;
}

void FakeEventLoop::pumpOnce() {
    // Bounded: a timer with interval 0 must not keep one pump going forever.
    for (int handled = 0; handled < 1000 && runOneDue(); ++handled) {
    }
}

void FakeEventLoop::pumpWait(int maxMs) {
    const std::int64_t limit = now_ + std::max(maxMs, 0);
    const std::int64_t due = nextDue();
    if (due < 0 || due > limit) {
        now_ = limit;
        return;
    }
    now_ = std::max(now_, due);
    pumpOnce();
}

void FakeEventLoop::advance(std::int64_t ms) {
    const std::int64_t end = now_ + ms;
    for (;;) {
        const std::int64_t due = nextDue();
        if (due < 0 || due > end) break;
        now_ = std::max(now_, due);
        runOneDue();
    }
    now_ = end;
}

}  // namespace zelmar::platform
