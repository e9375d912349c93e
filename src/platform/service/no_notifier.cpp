// The service notifier of builds without libsystemd: nobody to tell, no watchdog.
#include "platform/service_notifier.h"

namespace zelmar::platform {
namespace {

class NoNotifier : public ServiceNotifier {
  public:
    void notify(const char*) override {}
    std::int64_t watchdogUsec() const override { return 0; }
};

}  // namespace

std::unique_ptr<ServiceNotifier> MakeServiceNotifier() {
    return std::make_unique<NoNotifier>();
}

bool StandardErrorIsJournal() {
    return false;
}

}  // namespace zelmar::platform
