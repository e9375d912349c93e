#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "config/scratch_folder.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/service_heartbeat.h"

namespace zelmar::platform {
namespace {

// The service manager's end of the notify protocol: a datagram socket in a scratch folder.
class NotifySocket {
  public:
    explicit NotifySocket(const std::string& path) : fd_(socket(AF_UNIX, SOCK_DGRAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    ~NotifySocket() { close(fd_); }
    // What came since the last call; a local datagram is queued as soon as it is sent.
    std::vector<std::string> received() {
        std::vector<std::string> states;
        char buffer[256];
        for (ssize_t size; (size = recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;) {
            states.emplace_back(buffer, static_cast<std::size_t>(size));
        }
        return states;
    }

  private:
    int fd_;
};

using States = std::vector<std::string>;

TEST(ServiceHeartbeat, PingsTheSocketAtHalfTheWatchdogIntervalWhileTheLoopTurns) {
    testing::ScratchFolder folder("notify");
    NotifySocket manager(folder.file("notify"));
    setenv("NOTIFY_SOCKET", folder.file("notify").c_str(), 1);
    setenv("WATCHDOG_USEC", "200000", 1);
    const auto notifier = MakeServiceNotifier();
    if (notifier->watchdogUsec() == 0) GTEST_SKIP() << "built without libsystemd";

    FakeEventLoop loop;
    ServiceHeartbeat heartbeat(loop, *notifier);
    heartbeat.ready();
    loop.advance(250);
    EXPECT_EQ(manager.received(), (States{"READY=1", "WATCHDOG=1", "WATCHDOG=1"}));
    // A handler holding the loop past the interval: no ping, so systemd restarts the program.
    loop.sleepMs(1000);
    EXPECT_EQ(manager.received(), States{});
    heartbeat.stopping();
    loop.advance(100);
    EXPECT_EQ(manager.received(), (States{"STOPPING=1", "WATCHDOG=1", "WATCHDOG=1"}));
    unsetenv("NOTIFY_SOCKET");
    unsetenv("WATCHDOG_USEC");
}

}  // namespace
}  // namespace zelmar::platform
