#include "platform/service_heartbeat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_event_loop.h"

namespace zelmar::platform {
namespace {

// The service manager's side of the socket: every state with the virtual time it came at.
class RecordingNotifier : public ServiceNotifier {
  public:
    RecordingNotifier(const EventLoop& clock, std::int64_t watchdogUsec)
        : clock_(clock), watchdogUsec_(watchdogUsec) {}
    std::vector<std::string> received;
    void notify(const char* state) override {
        received.push_back(std::to_string(clock_.nowMs()) + " " + state);
    }
    std::int64_t watchdogUsec() const override { return watchdogUsec_; }

  private:
    const EventLoop& clock_;
    std::int64_t watchdogUsec_;
};

TEST(ServiceHeartbeat, PingsAtHalfTheWatchdogIntervalWhileTheLoopTurns) {
    FakeEventLoop loop;
    RecordingNotifier manager(loop, 200000);
    ServiceHeartbeat heartbeat(loop, manager);
    loop.advance(50);
    heartbeat.ready();
    loop.advance(250);
    EXPECT_EQ(manager.received,
              (std::vector<std::string>{"50 READY=1", "150 WATCHDOG=1", "250 WATCHDOG=1"}));

    // A handler that holds the loop past the watchdog interval: no ping goes out meanwhile,
    // so the manager sees the silence and restarts the program.
    manager.received.clear();
    loop.sleepMs(1000);
    EXPECT_TRUE(manager.received.empty());
    heartbeat.stopping();
    loop.advance(100);
    EXPECT_EQ(manager.received,
              (std::vector<std::string>{"1300 STOPPING=1", "1300 WATCHDOG=1", "1400 WATCHDOG=1"}));
}

TEST(ServiceHeartbeat, WithoutAWatchdogOnlyTheStateIsTold) {
    FakeEventLoop loop;
    RecordingNotifier manager(loop, 0);
    ServiceHeartbeat heartbeat(loop, manager);
    heartbeat.ready();
    loop.advance(60000);
    EXPECT_EQ(manager.received, std::vector<std::string>{"0 READY=1"});
}

}  // namespace
}  // namespace zelmar::platform
