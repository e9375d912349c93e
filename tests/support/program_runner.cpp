#include "support/program_runner.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "common/options.h"
#include "common/paths.h"
#include "config/settings_files.h"
#include "platform/file_system.h"

extern char** environ;

namespace zelmar::testing {

ChildProcess::ChildProcess(std::vector<std::string> args, bool keepOutput) {
    int out[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (keepOutput && pipe(out) == 0) {
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
    }
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (out[1] >= 0) close(out[1]);
    output_ = out[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) terminate();
    if (output_ >= 0) close(output_);
}

std::string ChildProcess::readUntil(const std::string& marker, std::chrono::milliseconds budget) {
    const auto end = std::chrono::steady_clock::now() + budget;
    for (;;) {
        const auto at = pending_.find(marker);
        if (at != std::string::npos) {
            const auto lineEnd = pending_.find('\n', at);
            const auto cut = lineEnd == std::string::npos ? pending_.size() : lineEnd + 1;
            std::string head = pending_.substr(0, cut);
            pending_.erase(0, cut);
            return head;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd waiting{output_, POLLIN, 0};
        if (output_ < 0 || left.count() <= 0 ||
            poll(&waiting, 1, static_cast<int>(left.count())) <= 0)
            break;
        char buffer[256];
        const ssize_t count = read(output_, buffer, sizeof buffer);
        if (count <= 0) break;
        pending_.append(buffer, static_cast<std::size_t>(count));
    }
    return std::exchange(pending_, std::string());
}

int ChildProcess::terminate(std::chrono::milliseconds budget) {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    return waitForExit(budget);
}

int ChildProcess::waitForExit(std::chrono::milliseconds budget) {
    if (pid_ <= 0) return -1;
    int status = 0;
    const bool ended = WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, budget);
    if (!ended) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
    if (!ended) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

EcrsimProcess::EcrsimProcess(const std::string& executable, const std::vector<std::string>& options)
    : ChildProcess(
          [&] {
              std::vector<std::string> args{executable};
              args.insert(args.end(), options.begin(), options.end());
              return args;
          }(),
          true) {
    std::istringstream banner(readUntil("READY"));
    for (std::string line; std::getline(banner, line);) {
        const auto space = line.find(' ');
        if (space != std::string::npos) values_[line.substr(0, space)] = line.substr(space + 1);
    }
}

std::string EcrsimProcess::value(const std::string& key) const {
    const auto found = values_.find(key);
    return found == values_.end() ? std::string() : found->second;
}

std::vector<std::string> HeadlessSerialArguments(const std::string& executable,
                                                 const std::string& programFolder,
                                                 const std::string& dataFolder,
                                                 const std::string& device) {
    std::vector<std::string> args{executable,   "--headless", "--program-dir", programFolder,
                                  "--data-dir", dataFolder,   "--port",        "1=" + device};
    for (int slot = 2; slot <= 4; ++slot) {
        args.push_back("--port");
        args.push_back(std::to_string(slot) + "=" + JoinPath(programFolder, "no-such-device"));
    }
    return args;
}

void WriteSlot1SlowModeSettings(const std::string& programFolder, const std::string& pollInterval) {
    Options settings;
    settings.Check = {true, false, false, false};
    settings.OptionFAST = false;
    platform::StdFileSystem files;
    config::SettingsFiles settingsFiles(files, programFolder);
    settingsFiles.Save(settings);
    settingsFiles.WriteTimerText(pollInterval);
}

double ProcessCpuSeconds(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    // The command name in parentheses may hold blanks; the fields are counted after it.
    const auto nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) return -1;
    std::istringstream fields(stat.substr(nameEnd + 2));
    std::string field;
    // Fields 3 to 13 (state ... cmajflt), then utime (14) and stime (15), in clock ticks.
    for (int i = 3; i <= 13; ++i) fields >> field;
    long userTicks = 0, systemTicks = 0;
    if (!(fields >> userTicks >> systemTicks)) return -1;
    return static_cast<double>(userTicks + systemTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace zelmar::testing
