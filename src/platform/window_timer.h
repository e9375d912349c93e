#pragma once

#include "platform/event_loop.h"

namespace zelmar::platform {

// The rules of a window timer, whatever runs it: a new interval restarts the count, enabling a
// running timer does not restart it, and an interval of 0 never ticks.
class WindowTimer : public Timer {
  public:
    void setInterval(int ms) final {
        interval_ = ms;
        restart();
    }
    int interval() const final { return interval_; }
    void setEnabled(bool enabled) final {
        if (enabled == enabled_) return;
        enabled_ = enabled;
        restart();
    }
    bool enabled() const final { return enabled_; }

  protected:
    bool counting() const { return enabled_ && interval_ > 0; }
    // Stops the count and, while counting(), starts it anew.
    virtual void restart() = 0;

  private:
    int interval_ = 0;
    bool enabled_ = false;
};

}  // namespace zelmar::platform
