#pragma once

// Running the real programs (zelmar1, ecrsim) from end-to-end tests and benchmarks.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zelmar::testing {

// Bounds for real processes on a loaded machine; the programs themselves need well under a
// second to start, answer or end.
inline constexpr std::chrono::milliseconds kOutputBudget{5000};
inline constexpr std::chrono::milliseconds kExitBudget{20000};
inline constexpr std::chrono::milliseconds kPollStep{20};

// Appends what `fd` gives to `data` until `done(data)` holds, the stream ends or the budget
// passes.
void ReadUntil(int fd, std::string& data, const std::function<bool(const std::string&)>& done,
               std::chrono::milliseconds budget = kOutputBudget);

// A child process started with `args` (args[0] is the executable's path), its standard output
// in a pipe when `keepOutput`, otherwise inherited. Ended with SIGTERM when destroyed.
class ChildProcess {
  public:
    ChildProcess(std::vector<std::string> args, bool keepOutput);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    // Standard output up to the end of the first line holding `marker`; the rest stays for the
    // next call. Everything read when the budget passes first.
    std::string readUntil(const std::string& marker,
                          std::chrono::milliseconds budget = kOutputBudget);
    // The exit status, -2 after a signal, -1 when it did not end within the budget (it is
    // then killed).
    int waitForExit(std::chrono::milliseconds budget = kExitBudget);
    int terminate(std::chrono::milliseconds budget = kExitBudget);  // SIGTERM, then waitForExit

  private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
};

// ecrsim started with `args` (args[0] is its path), its banner read up to READY.
class EcrsimProcess : public ChildProcess {
  public:
    explicit EcrsimProcess(std::vector<std::string> args)
        : ChildProcess(std::move(args), true), banner_(readUntil("READY")) {}
    // The rest of the banner line that starts with `key` and a blank: value("SERIAL") is the
    // pseudo-terminal, value("TCP 127.0.0.1") the port; empty without such a line.
    std::string value(const std::string& key) const;

  private:
    std::string banner_;
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

}  // namespace zelmar::testing
