// The register-data read of a register with 99 departments (about 125 commands: identity,
// info, the twenty "{" commands, the rates and one ":" per department) through the link on
// Qt's loop and serial port in this process, against a real ecrsim process on a
// pseudo-terminal that answers at once. Reports wall time and this process's CPU time.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>
#include <ctime>
#include <string>

#include "common/session.h"
#include "common/trace_sink.h"
#include "config/scratch_folder.h"
#include "jobs/job_files.h"
#include "link/link.h"
#include "link/register_reader.h"
#include "platform/file_system.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_serial_port.h"
#include "support/program_runner.h"

namespace {

using namespace zelmar;

constexpr int kDepartments = 99;

class NoTrace : public TraceSink {
  public:
    bool tracing() const override { return false; }
    void traceLine(const std::string&) override {}
};

double ThisProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_RegisterReadOf99Departments(benchmark::State& state) {
    testing::EcrsimProcess ecr(
        {ECRSIM_PATH, "--set", "departments=" + std::to_string(kDepartments)});
    if (ecr.value("SERIAL").empty()) {
        state.SkipWithError("ecrsim has no pseudo-terminal");
        return;
    }
    testing::ScratchFolder data("register_read_bench");
    platform::QtEventLoop loop;
    Session session;
    session.DataFolder = session.DefaultDataFolder = session.ProgramFolder = data.path();
    session.PortDevice[0] = ecr.value("SERIAL");
    session.CurrentSlot = 1;
    platform::StdFileSystem files;
    jobs::JobFiles jobFiles(session, files, loop);
    NoTrace trace;
    platform::QtSerialPort port;
    link::Link link(session, loop, port, jobFiles, trace);

    double cpu = 0, wall = 0;
    for (auto _ : state) {
        // A fresh reader each time: a reader that has read the tables once skips them.
        link::RegisterReader reader(session, link, files, jobFiles);
        const double cpuStart = ThisProcessCpuSeconds();
        const auto wallStart = std::chrono::steady_clock::now();
        link.OpenConnection();
        const int outcome = reader.ReadRegisterData();
        link.CloseConnection();
        cpu += ThisProcessCpuSeconds() - cpuStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        if (outcome != link::kReadOk || session.reg.DeptCount != kDepartments)
            state.SkipWithError("the read failed");
    }
    const auto reads = static_cast<double>(state.iterations());
    state.counters["wall_ms"] = 1000 * wall / reads;
    state.counters["cpu_ms"] = 1000 * cpu / reads;
}
BENCHMARK(BM_RegisterReadOf99Departments)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
