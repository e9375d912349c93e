#include "platform/service_heartbeat.h"

#include <algorithm>

namespace zelmar::platform {

ServiceHeartbeat::ServiceHeartbeat(EventLoop& loop, ServiceNotifier& notifier)
    : loop_(loop), notifier_(notifier) {}

void ServiceHeartbeat::ready() {
    notifier_.notify("READY=1");
    const std::int64_t watchdogUsec = notifier_.watchdogUsec();
    if (watchdogUsec <= 0 || ping_) return;
    ping_ = loop_.createTimer([this] { notifier_.notify("WATCHDOG=1"); });
    ping_->setInterval(static_cast<int>(std::max<std::int64_t>(watchdogUsec / 2000, 1)));
    ping_->setEnabled(true);
}

void ServiceHeartbeat::stopping() {
    notifier_.notify("STOPPING=1");
}

}  // namespace zelmar::platform
