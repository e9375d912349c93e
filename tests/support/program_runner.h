#pragma once

// Running the real programs (zelmar1, ecrsim) from end-to-end tests and benchmarks: a child
// process with its standard output, bounded waits, and the CPU time a process has used.

#include <sys/types.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace zelmar::testing {

// Bounds for real processes on a loaded machine; the programs themselves need well under a
// second to start, answer or end.
inline constexpr std::chrono::milliseconds kOutputBudget{5000};
inline constexpr std::chrono::milliseconds kExitBudget{20000};
inline constexpr std::chrono::milliseconds kPollStep{20};

// A child process started with `args` (args[0] is the executable's path). Its standard output
// is kept in a pipe when asked for, otherwise inherited. Ended with SIGTERM when destroyed.
class ChildProcess {
  public:
    ChildProcess(std::vector<std::string> args, bool keepOutput);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Standard output up to and including the first line that holds `marker`; what came after
    // it stays for the next call. Everything read when the bound passes first.
    std::string readUntil(const std::string& marker,
                          std::chrono::milliseconds budget = kOutputBudget);
    // The exit status, -2 after a signal, or -1 when the process did not end within the
    // budget (it is then killed).
    int waitForExit(std::chrono::milliseconds budget = kExitBudget);
    // SIGTERM, then waitForExit.
    int terminate(std::chrono::milliseconds budget = kExitBudget);

  private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
};

// The simulated register as a process: the ecrsim `executable` started with `options`, its
// banner read up to READY.
class EcrsimProcess : public ChildProcess {
  public:
    EcrsimProcess(const std::string& executable, const std::vector<std::string>& options);
    // The rest of a banner line ("SERIAL", "LINK", "TCP"); empty when it was not printed.
    std::string value(const std::string& key) const;

  private:
    std::map<std::string, std::string> values_;
};

// Polls `condition` every `step` until it holds (true) or the budget passes (false).
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds budget,
             std::chrono::milliseconds step = kPollStep) {
    const auto end = std::chrono::steady_clock::now() + budget;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(step);
    }
    return true;
}

// zelmar1 (`executable`) headless on the given folders, serving slot 1 on `device`; slots 2
// to 4 get a path that is no device, so no real port of the machine is touched.
std::vector<std::string> HeadlessSerialArguments(const std::string& executable,
                                                 const std::string& programFolder,
                                                 const std::string& dataFolder,
                                                 const std::string& device);
// Settings files in `programFolder` for slot 1 alone (ZMCHKCOM.TXT "1000") in slow mode,
// polling at `pollInterval` (the ZMTIMER1.TXT text).
void WriteSlot1SlowModeSettings(const std::string& programFolder, const std::string& pollInterval);

// User plus system CPU seconds a running process has used so far (from /proc/<pid>/stat);
// negative when it cannot be read.
double ProcessCpuSeconds(pid_t pid);

}  // namespace zelmar::testing
