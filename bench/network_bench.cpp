// The network transport over real loopback TCP against a real ecrsim process: the time one
// command takes against a register that answers at once (the transport's own overhead), and
// the CPU the program burns while a slow register (200 ms per answer) keeps it waiting.
#include <string>

#include "bench_support.h"
#include "common/session.h"
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

// ecrsim on a free loopback port, answering after `delayMs`.
testing::EcrsimProcess StartRegister(int delayMs) {
    return testing::EcrsimProcess(
        {ECRSIM_PATH, "--no-serial", "--tcp", "0", "--delay", std::to_string(delayMs)});
}

// The program's side: the transport on Qt's loop and socket, connected to the register.
struct Program {
    explicit Program(const std::string& port) {
        session.options.UseNetwork = true;
        session.options.RegisterAddress = "127.0.0.1";
        session.options.RegisterPort = port;
        network.OpenSocket();
        network.OpenConnection();
    }
    platform::QtEventLoop loop;
    Session session;
    platform::StdFileSystem files;
    jobs::JobFiles jobFiles{session, files, loop};
    bench::NoTrace trace;
    platform::FakeShell shell;
    platform::QtTcpSocket socket;
    link::NetworkLink network{session, loop, socket, jobFiles, trace, shell};
};

void BM_CommandOverLoopback(benchmark::State& state) {
    const auto ecr = StartRegister(0);
    Program program(ecr.value("TCP 127.0.0.1"));
    if (program.network.socketState() != platform::TcpSocket::State::kConnected) {
        state.SkipWithError("no connection to ecrsim");
        return;
    }
    for (auto _ : state) {
        std::string command = "9";
        if (program.network.SendTcpCommand(command) != link::SendResult::kAccepted) {
            state.SkipWithError("refused");
        }
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
    if (program.network.socketState() != platform::TcpSocket::State::kConnected) {
        state.SkipWithError("no connection to ecrsim");
        return;
    }
    bench::CpuAndWall spent;
    for (auto _ : state) {
        spent.measure([&] {
            std::string command = "9";
            if (program.network.SendTcpCommand(command) != link::SendResult::kAccepted) {
                state.SkipWithError("refused");
            }
        });
    }
    state.counters["cpu_share_percent"] = spent.sharePercent();
}
BENCHMARK(BM_WaitingForASlowRegister)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace

ZELMAR_QT_BENCHMARK_MAIN()
