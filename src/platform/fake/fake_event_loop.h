#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/event_loop.h"

namespace zelmar::platform {

// Event loop on virtual time. Sleeping advances the clock without running anything;
// pumpOnce runs what is due; pumpWait jumps the clock to the next due event (bounded by its
// maximum) and runs it. Fake devices put their replies on the loop with postDelayed.
class FakeEventLoop : public EventLoop {
  public:
    FakeEventLoop();
    ~FakeEventLoop() override;

    std::int64_t nowMs() const override { return now_; }
    LocalDateTime localNow() const override;
    void pumpOnce() override;
    void pumpWait(int maxMs) override;
    void sleepMs(int ms) override { now_ += ms; }
    std::unique_ptr<Timer> createTimer(std::function<void()> onTick) override;
    void postDelayed(int delayMs, std::function<void()> fn) override;

    // Wall-clock date and time at virtual time 0.
    void setStartDateTime(const LocalDateTime& start) { start_ = start; }
    // Runs every event due up to now + ms, in time order, then leaves the clock there.
    void advance(std::int64_t ms);
    // Total virtual time spent plainly sleeping is not tracked separately: now() says it all.

  private:
    class FakeTimer;
    struct Pending {
        std::int64_t due;
        std::uint64_t order;
        std::function<void()> fn;
    };
    std::int64_t nextDue() const;  // earliest due time of timers and posted work; -1 when none
    bool runOneDue();              // runs the earliest item due at or before now

    std::int64_t now_ = 0;
    std::uint64_t order_ = 0;
    LocalDateTime start_{2026, 12, 6, 10, 0, 0};
    std::vector<Pending> posted_;
    std::vector<FakeTimer*> timers_;
    friend class FakeTimer;
};

}  // namespace zelmar::platform
