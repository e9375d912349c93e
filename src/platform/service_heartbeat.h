#pragma once

#include <memory>

#include "platform/event_loop.h"
#include "platform/service_notifier.h"

namespace zelmar::platform {

// Tells the service manager that the program is up and, while the event loop turns, that it
// still does: the watchdog ping is a timer on the one loop, so a job cycle stuck in a handler
// stops the pings and the manager restarts the program.
class ServiceHeartbeat {
  public:
    ServiceHeartbeat(EventLoop& loop, ServiceNotifier& notifier);

    // READY=1, then WATCHDOG=1 every half watchdog interval (the manager's advice), if any.
    void ready();
    // STOPPING=1; the pings go on until the program ends, as the unload still takes seconds.
    void stopping();

  private:
    EventLoop& loop_;
    ServiceNotifier& notifier_;
    std::unique_ptr<Timer> ping_;
};

}  // namespace zelmar::platform
