// The service notifier of builds with libsystemd.
#include <sys/stat.h>
#include <systemd/sd-daemon.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/service_notifier.h"

namespace zelmar::platform {
namespace {

class SystemdNotifier : public ServiceNotifier {
  public:
    void notify(const char* state) override { sd_notify(0, state); }
    std::int64_t watchdogUsec() const override {
        std::uint64_t usec = 0;
        return sd_watchdog_enabled(0, &usec) > 0 ? static_cast<std::int64_t>(usec) : 0;
    }
};

}  // namespace

std::unique_ptr<ServiceNotifier> MakeServiceNotifier() {
    return std::make_unique<SystemdNotifier>();
}

bool StandardErrorIsJournal() {
    const char* stream = std::getenv("JOURNAL_STREAM");
    struct stat status {};
    if (!stream || fstat(STDERR_FILENO, &status) != 0) return false;
    unsigned long long device = 0, inode = 0;
    return std::sscanf(stream, "%llu:%llu", &device, &inode) == 2 && device == status.st_dev &&
           inode == status.st_ino;
}

}  // namespace zelmar::platform
