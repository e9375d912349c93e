#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "config/scratch_folder.h"

namespace {

using namespace std::chrono_literals;
using zelmar::testing::ScratchFolder;

// Bounds for a real process on a loaded machine; the program itself needs well under a second
// to start and about one second (the closing pause) to end.
constexpr auto kStartBudget = 15s;
constexpr auto kExitBudget = 20s;
constexpr auto kPollStep = 20ms;

// The program with its folders in a scratch folder and no usable serial device, so no slot is
// served and nothing waits on a register.
std::vector<std::string> HeadlessArguments(const ScratchFolder& program,
                                           const ScratchFolder& data) {
    std::vector<std::string> args{ZELMAR1_PATH,   "--headless", "--program-dir",
                                  program.path(), "--data-dir", data.path()};
    for (int slot = 1; slot <= 4; ++slot) {
        args.push_back("--port");
        args.push_back(std::to_string(slot) + "=" + program.file("no-such-device"));
    }
    return args;
}

pid_t Spawn(const std::vector<std::string>& args) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds budget) {
    const auto end = std::chrono::steady_clock::now() + budget;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(kPollStep);
    }
    return true;
}

// The exit status, or -1 when the process did not end within the budget (it is then killed).
int WaitForExit(pid_t pid) {
    int status = 0;
    if (!WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, kExitBudget)) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

TEST(Headless, StartsServesAndEndsOnSigtermWithTheSettingsSaved) {
    ScratchFolder program("headless_program");
    ScratchFolder data("headless_data");
    const pid_t pid = Spawn(HeadlessArguments(program, data));
    ASSERT_GT(pid, 0);
    // Start-up writes the poll interval file; with no port found, the first poll writes E502.
    const bool up = WaitFor([&] { return data.has("SR_ERR.004"); }, kStartBudget);
    EXPECT_TRUE(up);
    EXPECT_EQ(program.read("ZMTIMER1.TXT"), "1\r\n");
    EXPECT_EQ(data.read("SR_ERR.001"), "E502: Nessuna porta di comunicazione disponibile\r\n");

    // A second copy on the same program folder ends at once, silently, with status 0.
    const pid_t second = Spawn(HeadlessArguments(program, data));
    EXPECT_EQ(WaitForExit(second), 0);

    kill(pid, SIGTERM);
    EXPECT_EQ(WaitForExit(pid), 0);
    EXPECT_EQ(program.read("ZMCHKCOM.TXT"), "0000\r\n");  // no port found: every slot unticked
    EXPECT_TRUE(program.has("ZMCHKSCO.TXT"));
    EXPECT_EQ(program.read("ZMChkBd.txt"), "9600\r\n");
}

}  // namespace
