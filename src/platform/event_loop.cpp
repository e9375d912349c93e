#include "platform/event_loop.h"

#include <cmath>

namespace zelmar::platform {

void WaitMs(EventLoop& loop, double ms) {
    const long rounded = std::lround(ms);
    for (long step = 0; step < rounded / 100; ++step) {
        loop.sleepMs(100);
        loop.pumpOnce();
    }
}

}  // namespace zelmar::platform
