#include "platform/fake/fake_event_loop.h"

#include <algorithm>
#include <chrono>

namespace zelmar::platform {

class FakeEventLoop::FakeTimer : public Timer {
  public:
    FakeTimer(FakeEventLoop& loop, std::function<void()> onTick)
        : loop_(&loop), onTick_(std::move(onTick)) {
        loop_->timers_.push_back(this);
    }
    ~FakeTimer() override {
        if (!loop_) return;
        auto& timers = loop_->timers_;
        timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
    }
    void setInterval(int ms) override {
        interval_ = ms;
        if (enabled_ && loop_) due_ = loop_->now_ + interval_;
    }
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override {
        if (enabled && !enabled_ && loop_) due_ = loop_->now_ + interval_;
        enabled_ = enabled;
    }
    bool enabled() const override { return enabled_; }

    // A window timer with interval 0 never ticks (it would otherwise tick without pause).
    std::int64_t due() const { return enabled_ && interval_ > 0 ? due_ : -1; }
    void fire() {
        due_ = loop_->now_ + interval_;
        onTick_();
    }
    void detach() { loop_ = nullptr; }

  private:
    FakeEventLoop* loop_;  // null once the loop is gone before the timer
    std::function<void()> onTick_;
    int interval_ = 0;
    bool enabled_ = false;
    std::int64_t due_ = 0;
};

FakeEventLoop::FakeEventLoop() = default;
FakeEventLoop::~FakeEventLoop() {
    for (auto* timer : timers_) timer->detach();
}

LocalDateTime FakeEventLoop::localNow() const {
    // Plain calendar arithmetic: no time zone, so no daylight-saving jump on virtual time.
    using namespace std::chrono;
    const sys_days startDay{year{start_.year} / start_.month / start_.day};
    const auto instant = startDay + hours{start_.hour} + minutes{start_.minute} +
                         seconds{start_.second} + milliseconds{now_};
    const auto day = floor<days>(instant);
    const year_month_day date{day};
    const hh_mm_ss time{floor<seconds>(instant - day)};
    return {static_cast<int>(date.year()),
            static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())),
            static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()),
            static_cast<int>(time.seconds().count())};
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
