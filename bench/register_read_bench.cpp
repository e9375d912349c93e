// The register-data read of a register with 99 departments (about 125 commands: identity,
// info, the twenty "{" commands, the rates and one ":" per department) through the link on
// Qt's loop and serial port in this process, against a real ecrsim process on a
// pseudo-terminal that answers at once. Reports wall time and this process's CPU time.
#include <string>

#include "bench_support.h"
#include "common/session.h"
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
    bench::NoTrace trace;
    platform::QtSerialPort port;
    link::Link link(session, loop, port, jobFiles, trace);

    bench::CpuAndWall spent;
    for (auto _ : state) {
        // A fresh reader each time: a reader that has read the tables once skips them.
        link::RegisterReader reader(session, link, files, jobFiles);
        link::ReadOutcome outcome = link::ReadOutcome::kFailed;
        spent.measure([&] {
            link.OpenConnection();
            outcome = reader.ReadRegisterData();
            link.CloseConnection();
        });
        if (outcome != link::ReadOutcome::kOk || session.reg().DeptCount != kDepartments)
            state.SkipWithError("the read failed");
    }
    const auto reads = static_cast<double>(state.iterations());
    state.counters["wall_ms"] = 1000 * spent.wall / reads;
    state.counters["cpu_ms"] = 1000 * spent.cpu / reads;
}
BENCHMARK(BM_RegisterReadOf99Departments)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

}  // namespace

ZELMAR_QT_BENCHMARK_MAIN()
