// The package's program, unpacked into a scratch root: headless against ecrsim it prints a
// receipt, logs what it did on standard error and keeps a service manager informed.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/version_text.h"
#include "integration/program_run.h"

namespace zelmar::testing {
namespace {

using std::chrono::milliseconds;

// The service manager's end of the notify protocol: a datagram socket in a scratch folder.
class NotifySocket {
  public:
    explicit NotifySocket(const std::string& path) : fd_(socket(AF_UNIX, SOCK_DGRAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~NotifySocket() { close(fd_); }
    bool bound() const { return bound_; }
    // The next message, or nothing when none comes within the budget.
    std::string next(milliseconds budget = kOutputBudget) {
        pollfd waiting{fd_, POLLIN, 0};
        if (poll(&waiting, 1, static_cast<int>(budget.count())) <= 0) return {};
        char buffer[256];
        const ssize_t size = recv(fd_, buffer, sizeof buffer, 0);
        return size > 0 ? std::string(buffer, static_cast<std::size_t>(size)) : std::string();
    }

  private:
    int fd_;
    bool bound_ = false;
};

// Environment variables for the processes started while it lives.
class ScopedEnvironment {
  public:
    explicit ScopedEnvironment(std::vector<std::pair<std::string, std::string>> variables)
        : variables_(std::move(variables)) {
        for (const auto& [name, value] : variables_) setenv(name.c_str(), value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        for (const auto& variable : variables_) unsetenv(variable.first.c_str());
    }

  private:
    std::vector<std::pair<std::string, std::string>> variables_;
};

// `args` run with standard error in `logPath`, through the shell's exec so that the process is
// the program itself.
std::vector<std::string> WithStandardErrorIn(const std::string& logPath,
                                             const std::vector<std::string>& args) {
    std::vector<std::string> wrapped{"/bin/sh", "-c", "exec \"$@\" 2>\"$0\"", logPath};
    wrapped.insert(wrapped.end(), args.begin(), args.end());
    return wrapped;
}

// Slot 1 alone, in slow mode with a short poll.
void WriteSettings(const std::string& programFolder) {
    Options settings;
    settings.Check = {true, false, false, false};
    platform::StdFileSystem files;
    config::SettingsFiles settingsFiles(files, programFolder);
    settingsFiles.Save(settings);
    settingsFiles.WriteTimerText(kPollIntervalMs);
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

TEST(InstalledProgram, PrintsAReceiptOnEcrsimLogsItAndKeepsTheServiceManagerInformed) {
    ScratchFolder root("package_root"), program("package_program"), data("package_data"),
        sim("package_sim");
    ASSERT_EQ(ChildProcess({"/usr/bin/dpkg", "-x", ZELMAR_PACKAGE_PATH, root.path()}, false)
                  .waitForExit(),
              0);
    sim.put("register.txt", kRegisterFile);
    EcrsimProcess ecrsim({ECRSIM_PATH, "--config", sim.file("register.txt")});
    const std::string device = ecrsim.value("SERIAL");
    ASSERT_FALSE(device.empty());
    WriteSettings(program.path());

    NotifySocket manager(sim.file("notify"));
    ASSERT_TRUE(manager.bound());
    std::vector<std::string> args = HeadlessArguments(program.path(), data.path(), device);
    args[0] = root.file("usr/bin/zelmar1");
    const ScopedEnvironment service(
        {{"NOTIFY_SOCKET", sim.file("notify")}, {"WATCHDOG_USEC", "200000"}});
    ChildProcess zelmar1(WithStandardErrorIn(sim.file("log.txt"), args), false);
    ASSERT_TRUE(zelmar1.started());

    if (ZELMAR_NOTIFIES) {
        EXPECT_EQ(manager.next(), "READY=1");
        // Pings every 100 ms: five take 400 ms, on a loaded machine somewhat more.
        const auto first = std::chrono::steady_clock::now();
        for (int ping = 0; ping < 5; ++ping) ASSERT_EQ(manager.next(), "WATCHDOG=1") << ping;
        const auto took = std::chrono::steady_clock::now() - first;
        EXPECT_GT(took, milliseconds(300));
        EXPECT_LT(took, milliseconds(3000));
    }

    ASSERT_TRUE(WaitFor([&] { return data.has("SR_MATR.001"); }, kJobBudget));
    data.put("SR_DATI.001", "SALE,N1,P150,:PANE;\r\nCASH,V150;\r\n");
    data.put("SR_START.001", "");
    ASSERT_TRUE(WaitFor([&] { return !data.has("SR_START.001"); }, kJobBudget));
    EXPECT_TRUE(WaitFor([&] { return data.read("FINESCO.001") == "finesco"; }, kJobBudget));
    EXPECT_FALSE(data.has("SR_ERR.001")) << data.read("SR_ERR.001");
    EXPECT_EQ(zelmar1.terminate(), 0);

    if (ZELMAR_NOTIFIES) {
        std::string state;
        do state = manager.next(milliseconds(0));
        while (!state.empty() && state != "STOPPING=1");
        EXPECT_EQ(state, "STOPPING=1");
    }
    // The operator's log: start-up, the read, the job, the unload, in this order.
    const std::vector<std::string> expected{
        "info: zelmar1 " + VersionText() + ", program folder " + program.path(),
        "info: slot 1 on " + device + ": port found, served",
        "info: slot 1 register data read: model AB, serial 72MAB123456",
        "info: job slot 1 done in ",
        "info: unload: closing the served slots",
        "info: stopped"};
    auto next = expected.begin();
    for (const std::string& line : Lines(sim.read("log.txt"))) {
        if (next != expected.end() && StartsWith(line, *next)) ++next;
    }
    EXPECT_EQ(next, expected.end()) << "missing: " << *next << "\n" << sim.read("log.txt");
}

}  // namespace
}  // namespace zelmar::testing
