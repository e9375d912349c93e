#pragma once

#include <cstdint>
#include <memory>

namespace zelmar::platform {

// The seam to the service manager that started the program (systemd's notify protocol).
// Without one, or in a build without it, notices go nowhere and there is no watchdog.
class ServiceNotifier {
  public:
    virtual ~ServiceNotifier() = default;
    // One state assignment such as "READY=1" or "WATCHDOG=1".
    virtual void notify(const char* state) = 0;
    // The watchdog interval the manager expects pings within, in microseconds; 0 for none.
    virtual std::int64_t watchdogUsec() const = 0;
};

// The notifier of this build (platform/service).
std::unique_ptr<ServiceNotifier> MakeServiceNotifier();

// True when standard error is the journal's stream (JOURNAL_STREAM names its device and inode),
// so that log lines may carry the priority prefix the journal understands.
bool StandardErrorIsJournal();

}  // namespace zelmar::platform
