// The network transport over real loopback TCP against a real ecrsim process: the time one
// command takes against a register that answers at once (the transport's own overhead), and
// the CPU the program burns while a slow register (200 ms per answer) keeps it waiting.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "common/session.h"
#include "common/trace_sink.h"
#include "jobs/job_files.h"
#include "link/network_link.h"
#include "platform/fake/fake_shell.h"
#include "platform/file_system.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_tcp_socket.h"

extern char** environ;

namespace {

using namespace zelmar;

constexpr int kBannerTimeoutMs = 5000;
constexpr int kSlowRegisterDelayMs = 200;

class NoTrace : public TraceSink {
  public:
    bool tracing() const override { return false; }
    void traceLine(const std::string&) override {}
};

// ecrsim on a free loopback port; ended with SIGTERM.
class Register {
  public:
    explicit Register(int delayMs) {
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<std::string> args{ECRSIM_PATH, "--no-serial", "--tcp",
                                      "0",         "--delay",     std::to_string(delayMs)};
        std::vector<char*> argv;
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, ECRSIM_PATH, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        std::string banner;
        pollfd waiting{out[0], POLLIN, 0};
        while (banner.find("READY") == std::string::npos &&
               poll(&waiting, 1, kBannerTimeoutMs) > 0) {
            char buffer[256];
            const ssize_t count = read(out[0], buffer, sizeof buffer);
            if (count <= 0) break;
            banner.append(buffer, static_cast<std::size_t>(count));
        }
        close(out[0]);
        const std::string tcp = "TCP 127.0.0.1 ";
        const auto at = banner.find(tcp);
        if (at != std::string::npos)
            port = banner.substr(at + tcp.size(), banner.find('\n', at) - at - tcp.size());
    }
    ~Register() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    std::string port;

  private:
    pid_t pid_ = -1;
};

// The program's side: the transport on Qt's loop and socket, connected to the register.
struct Program {
    explicit Program(const std::string& port) {
        session.options.OptionRete = true;
        session.options.txtRemoteIP = "127.0.0.1";
        session.options.txtRemotePort = port;
        network.OpenSocket();
        network.OpenConnection();
    }
    platform::QtEventLoop loop;
    Session session;
    platform::StdFileSystem files;
    jobs::JobFiles jobFiles{session, files, loop};
    NoTrace trace;
    platform::FakeShell shell;
    platform::QtTcpSocket socket;
    link::NetworkLink network{session, loop, socket, jobFiles, trace, shell};
};

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_CommandOverLoopback(benchmark::State& state) {
    Register ecr(0);
    Program program(ecr.port);
    if (program.network.socketState() != 7) {
        state.SkipWithError("no connection to ecrsim");
        return;
    }
    for (auto _ : state) {
        std::string command = "9";
        if (program.network.SendCommandMCP_TCP(command) != 1) state.SkipWithError("refused");
    }
}
BENCHMARK(BM_CommandOverLoopback)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_WaitingForASlowRegister(benchmark::State& state) {
    Register ecr(kSlowRegisterDelayMs);
    Program program(ecr.port);
    if (program.network.socketState() != 7) {
        state.SkipWithError("no connection to ecrsim");
        return;
    }
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        const double cpuStart = ProcessCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        std::string command = "9";
        if (program.network.SendCommandMCP_TCP(command) != 1) state.SkipWithError("refused");
        cpu += ProcessCpuSeconds() - cpuStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    }
    state.counters["cpu_share_percent"] = wall > 0 ? 100.0 * cpu / wall : 0;
}
BENCHMARK(BM_WaitingForASlowRegister)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
