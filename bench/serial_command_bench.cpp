// The serial link against a real ecrsim process on a pseudo-terminal:
//   - the driver's own time per command line: a 200-line job through the transmission driver
//     and the link (Qt serial port, Qt event loop) in this process, against a register that
//     answers at once; each SendCommand is timed, so the driver's prescribed pauses (none on a
//     good job) never count;
//   - that the program does not spin while it waits: the real headless zelmar1 runs a job
//     against a register that takes 200 ms per answer, and its CPU time (from /proc) is set
//     against the job's wall time;
//   - the whole program on a 200-line job against a register that answers at once (wall time
//     per line), and its CPU while it sits idle.
// The real-program cases run the Windows build under Wine when started through
// tests/wine/with_wine_ports.sh, so the two builds are measured alike.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "common/session.h"
#include "common/text_file.h"
#include "config/scratch_folder.h"
#include "integration/program_run.h"
#include "jobs/job_files.h"
#include "link/command_sender.h"
#include "link/link.h"
#include "link/transmission.h"
#include "platform/fake/fake_shell.h"
#include "platform/file_system.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_serial_port.h"

namespace {

using namespace zelmar;
using testing::ScratchFolder;

constexpr int kJobLines = 200;
constexpr int kSlowRegisterDelayMs = 200;
constexpr int kSlowJobLines = 20;  // about 5 s of waiting at 200 ms per answer

// The link, with the time of every SendCommand noted.
class TimedSender : public link::CommandSender {
  public:
    explicit TimedSender(link::CommandSender& link) : link_(link) {}
    link::SendResult SendCommand(std::string& command) override {
        const auto start = std::chrono::steady_clock::now();
        const link::SendResult result = link_.SendCommand(command);
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
        return result;
    }
    int ParseStatus(const std::string& text) override { return link_.ParseStatus(text); }
    bool PortOpen() const override { return link_.PortOpen(); }
    bool OpenPort() override { return link_.OpenPort(); }
    void ClosePort() override { link_.ClosePort(); }
    bool WriteRaw(const std::string& bytes) override { return link_.WriteRaw(bytes); }
    void OpenConnection() override { link_.OpenConnection(); }
    void CloseConnection() override { link_.CloseConnection(); }

    std::vector<double> times;  // microseconds

  private:
    link::CommandSender& link_;
};

// A receipt already in register form: sales, then the cash that closes it.
std::vector<std::string> RegisterFormReceipt(int lines) {
    std::vector<std::string> job(static_cast<std::size_t>(lines - 1),
                                 "3/S/ARTICOLO//1/1.00/1/22.00");
    job.push_back("5/1/0//////");
    return job;
}

// The same receipt as the POS application writes it.
std::vector<std::string> JobReceipt(int lines) {
    std::vector<std::string> job(static_cast<std::size_t>(lines - 1), "SALE,N1,P100,:ARTICOLO;");
    job.push_back("CASH;");
    return job;
}

// The program's side, in this process: driver and link on Qt's loop and serial port.
struct SerialProgram {
    explicit SerialProgram(const std::string& device) {
        session.DataFolder = session.DefaultDataFolder = session.ProgramFolder = data.path();
        session.PortDevice[0] = device;
        session.CurrentSlot = 1;
        session.options.RegisterLineInput = true;  // the job is in register form
    }
    ScratchFolder data{"serial_bench"};
    link::JobRequest job{1, data.file("SR_DATI.001"), data.file("SR_OUT.001")};
    platform::QtEventLoop loop;
    Session session;
    platform::StdFileSystem files;
    jobs::JobFiles jobFiles{session, files, loop};
    bench::NoTrace trace;
    platform::FakeShell shell;
    platform::QtSerialPort port;
    link::Link link{session, loop, port, jobFiles, trace};
    TimedSender sender{link};
    link::TransmissionDriver driver{session, sender, loop, files, jobFiles, trace, shell};
};

double Percentile(std::vector<double> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

void BM_SerialJobOf200Lines(benchmark::State& state) {
    testing::EcrsimProcess ecr({ECRSIM_PATH});
    if (ecr.value("SERIAL").empty()) {
        state.SkipWithError("ecrsim has no pseudo-terminal");
        return;
    }
    SerialProgram program(ecr.value("SERIAL"));
    const std::vector<std::string> job = RegisterFormReceipt(kJobLines);
    for (auto _ : state) {
        WriteTextLines(program.job.jobFile, job);
        if (program.driver.TransmitJob(program.job) != jobs::JobResult::kOk) {
            state.SkipWithError("the job failed");
        }
    }
    const auto& times = program.sender.times;
    state.counters["commands"] = static_cast<double>(times.size());
    state.counters["median_us_per_command"] = Percentile(times, 0.5);
    state.counters["p90_us_per_command"] = Percentile(times, 0.9);
    state.counters["max_us_per_command"] = Percentile(times, 1.0);
}
BENCHMARK(BM_SerialJobOf200Lines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// User plus system CPU seconds a running process has used so far (from /proc/<pid>/stat);
// negative when it cannot be read.
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

// The real programs: zelmar1 serving slot 1 in slow mode, ecrsim answering after 200 ms.
void BM_ProgramCpuWhileTheRegisterAnswersSlowly(benchmark::State& state) {
    testing::ProgramRun run(testing::Line::kSerial,
                            {"--delay", std::to_string(kSlowRegisterDelayMs)});
    if (!run.started()) {
        state.SkipWithError("ecrsim has no pseudo-terminal");
        return;
    }
    if (!run.registerDataRead()) {
        state.SkipWithError("the register data were not read");
        return;
    }
    std::string job;
    for (const auto& line : JobReceipt(kSlowJobLines)) job += line + "\r\n";
    bench::CpuAndWall spent([&] { return ProcessCpuSeconds(run.programPid()); });
    for (auto _ : state) {
        spent.measure([&] {
            if (!run.runJob(job)) state.SkipWithError("no end");
        });
        if (run.data().has("SR_ERR.001"))
            state.SkipWithError(run.data().read("SR_ERR.001").c_str());
    }
    const auto jobs = static_cast<double>(state.iterations());
    state.counters["job_wall_s"] = spent.wall / jobs;
    state.counters["job_cpu_ms"] = 1000 * spent.cpu / jobs;
    state.counters["cpu_share_percent"] = spent.sharePercent();
}
BENCHMARK(BM_ProgramCpuWhileTheRegisterAnswersSlowly)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

constexpr std::chrono::seconds kIdleSpan{10};

void BM_ProgramJobOf200LinesThenIdle(benchmark::State& state) {
    testing::ProgramRun run(testing::Line::kSerial, {});
    if (!run.started() || !run.registerDataRead()) {
        state.SkipWithError("the program did not read the register");
        return;
    }
    std::string job;
    for (const auto& line : JobReceipt(kJobLines)) job += line + "\r\n";
    const auto programCpu = [&] { return ProcessCpuSeconds(run.programPid()); };
    bench::CpuAndWall spent(programCpu);
    for (auto _ : state) {
        spent.measure([&] {
            if (!run.runJob(job)) state.SkipWithError("no end");
        });
        if (run.data().has("SR_ERR.001"))
            state.SkipWithError(run.data().read("SR_ERR.001").c_str());
    }
    const auto lines = static_cast<double>(state.iterations()) * kJobLines;
    state.counters["ms_per_line"] = 1000 * spent.wall / lines;
    bench::CpuAndWall idle(programCpu);
    idle.measure([] { std::this_thread::sleep_for(kIdleSpan); });
    state.counters["idle_cpu_percent"] = idle.sharePercent();
}
BENCHMARK(BM_ProgramJobOf200LinesThenIdle)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace

ZELMAR_QT_BENCHMARK_MAIN()
