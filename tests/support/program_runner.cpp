#include "support/program_runner.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <utility>

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

void ReadUntil(int fd, std::string& data, const std::function<bool(const std::string&)>& done,
               std::chrono::milliseconds budget) {
    const auto end = std::chrono::steady_clock::now() + budget;
    while (!done(data)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd waiting{fd, POLLIN, 0};
        if (fd < 0 || left.count() <= 0 || poll(&waiting, 1, static_cast<int>(left.count())) <= 0)
            return;
        char buffer[256];
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0) return;
        data.append(buffer, static_cast<std::size_t>(count));
    }
}

std::string ChildProcess::readUntil(const std::string& marker, std::chrono::milliseconds budget) {
    const auto holdsMarker = [&](const std::string& data) {
        return data.find(marker) != std::string::npos;
    };
    ReadUntil(output_, pending_, holdsMarker, budget);
    if (!holdsMarker(pending_)) return std::exchange(pending_, std::string());
    const auto lineEnd = pending_.find('\n', pending_.find(marker));
    const auto cut = lineEnd == std::string::npos ? pending_.size() : lineEnd + 1;
    std::string head = pending_.substr(0, cut);
    pending_.erase(0, cut);
    return head;
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

std::string EcrsimProcess::value(const std::string& key) const {
    const std::string text = "\n" + banner_;
    const auto at = text.find("\n" + key + " ");
    if (at == std::string::npos) return {};
    const auto start = at + key.size() + 2;
    return text.substr(start, text.find('\n', start) - start);
}

}  // namespace zelmar::testing
