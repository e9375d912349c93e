// The real headless program against the simulated register on loopback TCP: whole jobs from
// the job files to the result files.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "common/options.h"
#include "config/scratch_folder.h"
#include "config/settings_files.h"
#include "platform/file_system.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using zelmar::testing::ScratchFolder;

// Bounds for real processes on a loaded machine; a job itself takes well under a second.
constexpr auto kJobBudget = 40s;
constexpr auto kPollStep = 20ms;
constexpr int kBannerTimeoutMs = 5000;

// A child process; its standard output is kept when asked for. Ended with SIGTERM.
class Child {
  public:
    Child(std::vector<std::string> args, bool keepOutput) {
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
    ~Child() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
        if (output_ >= 0) close(output_);
    }
    // Standard output up to a line starting with `marker`.
    std::string readUntil(const std::string& marker) {
        std::string data;
        pollfd waiting{output_, POLLIN, 0};
        while (data.find(marker) == std::string::npos && poll(&waiting, 1, kBannerTimeoutMs) > 0) {
            char buffer[256];
            const ssize_t count = read(output_, buffer, sizeof buffer);
            if (count <= 0) break;
            data.append(buffer, static_cast<std::size_t>(count));
        }
        return data;
    }

  private:
    pid_t pid_ = -1;
    int output_ = -1;
};

template <typename Condition>
bool WaitFor(Condition condition) {
    const auto end = std::chrono::steady_clock::now() + kJobBudget;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(kPollStep);
    }
    return true;
}

// ecrsim on a free loopback port with the given faults, and zelmar1 in network mode on it.
class NetworkRun {
  public:
    explicit NetworkRun(const std::vector<std::string>& faults) {
        std::vector<std::string> args{ECRSIM_PATH, "--no-serial", "--tcp", "0"};
        for (const auto& fault : faults) {
            args.push_back("--fault");
            args.push_back(fault);
        }
        register_ = std::make_unique<Child>(args, true);
        const std::string banner = register_->readUntil("READY");
        const std::string tcp = "TCP 127.0.0.1 ";
        const auto at = banner.find(tcp);
        if (at == std::string::npos) return;
        port_ = banner.substr(at + tcp.size(), banner.find('\n', at) - at - tcp.size());

        zelmar::Options options;
        options.OptionRete = true;
        options.Check[0] = true;
        options.txtRemoteIP = "127.0.0.1";
        options.txtRemotePort = port_;
        zelmar::platform::StdFileSystem files;
        zelmar::config::SettingsFiles(files, program_.path()).Save(options);
        program1_ = std::make_unique<Child>(
            std::vector<std::string>{ZELMAR1_PATH, "--headless", "--program-dir", program_.path(),
                                     "--data-dir", data_.path()},
            false);
    }
    bool started() const { return !port_.empty(); }
    // The register-data read of slot 1, then one job; true when it ended with a result file.
    bool runJob(const std::string& jobLines) {
        if (!WaitFor([&] { return data_.has("SR_MATR.001"); })) return false;
        data_.put("SR_DATI.001", jobLines);
        data_.put("SR_START.001", "");
        return WaitFor([&] { return !data_.has("SR_START.001"); });
    }
    const ScratchFolder& data() const { return data_; }

  private:
    ScratchFolder program_{"network_program"};
    ScratchFolder data_{"network_data"};
    std::string port_;
    std::unique_ptr<Child> register_;
    std::unique_ptr<Child> program1_;
};

constexpr const char* kReceipt = "SALE,N1,P100,:PANE;\r\nCASH,V100;\r\n";

TEST(NetworkIntegration, AReceiptOverLoopbackTcpEndsWithFinesco) {
    NetworkRun run({});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.runJob(kReceipt));
    EXPECT_EQ(run.data().read("FINESCO.001"), "finesco");
    EXPECT_FALSE(run.data().has("SR_ERR.001"));
    EXPECT_TRUE(run.data().has("SR_OUT.001"));
}

TEST(NetworkIntegration, ARefusedSaleWritesTheRegisterMessageAsTheSecondErrorLine) {
    NetworkRun run({"refuse:*=09,3/"});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.runJob(kReceipt));
    EXPECT_FALSE(run.data().has("FINESCO.001"));
    const std::string err = run.data().read("SR_ERR.001");
    const auto firstLineEnd = err.find("\r\n");
    ASSERT_NE(firstLineEnd, std::string::npos);
    EXPECT_EQ(err.substr(firstLineEnd + 2),
              "9 - Aliquota IVA errata, controllare corrispondenza IVA-Reparto - 2\r\n");
}

}  // namespace
