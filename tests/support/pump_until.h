#pragma once

#include <functional>

#include "platform/event_loop.h"

namespace zelmar::testing {

// Pumps a real-time loop until done() holds or limitMs pass; true when done() held.
inline bool PumpUntil(platform::EventLoop& loop, const std::function<bool()>& done,
                      int limitMs = 5000) {
    const auto deadline = loop.nowMs() + limitMs;
    while (!done()) {
        const auto left = deadline - loop.nowMs();
        if (left <= 0) return false;
        loop.pumpWait(static_cast<int>(left));
    }
    return true;
}

}  // namespace zelmar::testing
