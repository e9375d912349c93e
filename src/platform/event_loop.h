#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace zelmar::platform {

struct LocalDateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// A window-style timer: ticks every interval while enabled, on the event loop.
class Timer {
  public:
    virtual ~Timer() = default;
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
};

// The one thread's event loop and clock. The Qt implementation runs on real time; the fake
// one on virtual time, so a test of a 10-second time-out ends in microseconds.
class EventLoop {
  public:
    virtual ~EventLoop() = default;
    virtual std::int64_t nowMs() const = 0;      // monotonic milliseconds
    virtual LocalDateTime localNow() const = 0;  // wall-clock date and time
    virtual void pumpOnce() = 0;                 // handle what is ready; never blocks
    // Sleep until at least one event has been handled or maxMs have passed. The link's timed
    // reads wait with this, so a wait never spins.
    virtual void pumpWait(int maxMs) = 0;
    virtual void sleepMs(int ms) = 0;  // plain sleep, no pumping
    virtual std::unique_ptr<Timer> createTimer(std::function<void()> onTick) = 0;
    // Runs fn once on the loop after delayMs (0: as soon as the loop is idle again).
    virtual void postDelayed(int delayMs, std::function<void()> fn) = 0;
};

// The program's one pause: whole 100 ms steps (rounded down), the loop pumped after each.
void WaitMs(EventLoop& loop, double ms);

}  // namespace zelmar::platform
