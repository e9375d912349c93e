// The network transport over real loopback TCP against a real ecrsim process: the time one
// command takes against a register that answers at once (the transport's own overhead), and
// the CPU the program burns while a slow register (200 ms per answer) keeps it waiting.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>
#include <ctime>
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
#include "support/program_runner.h"

namespace {

using namespace zelmar;

constexpr int kSlowRegisterDelayMs = 200;

class NoTrace : public TraceSink {
  public:
    bool tracing() const override { return false; }
    void traceLine(const std::string&) override {}
};

// ecrsim on a free loopback port, answering after `delayMs`.
testing::EcrsimProcess StartRegister(int delayMs) {
    return testing::EcrsimProcess(
        {ECRSIM_PATH, "--no-serial", "--tcp", "0", "--delay", std::to_string(delayMs)});
}

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
    const auto ecr = StartRegister(0);
    Program program(ecr.value("TCP 127.0.0.1"));
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
    const auto ecr = StartRegister(kSlowRegisterDelayMs);
    Program program(ecr.value("TCP 127.0.0.1"));
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
