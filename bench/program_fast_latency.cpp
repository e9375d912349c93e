// Fast mode: from SR_START appearing in the data folder to the first byte of the job on the
// serial line. The real program parts in-process (Qt event loop, inotify watcher, Qt serial
// port, link, converter, driver) against the simulated register on a pseudo-terminal.
//
//   program_fast_latency [JOBS]     prints the median, the 90th percentile and the maximum
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/form_view.h"
#include "app/link_services.h"
#include "app/main_form.h"
#include "common/paths.h"
#include "common/session.h"
#include "common/text_file.h"
#include "config/scratch_folder.h"
#include "convert/converter.h"
#include "jobs/job_files.h"
#include "link/link.h"
#include "link/register_reader.h"
#include "link/trace_files.h"
#include "link/transmission.h"
#include "platform/file_system.h"
#include "platform/qt/qt_dir_watcher.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_shell.h"
#include "sim/transport/simulator_host.h"

namespace {

using namespace zelmar;

constexpr int kDefaultJobs = 50;
constexpr int kJobBudgetMs = 10000;  // one job against the simulator takes far less
// Pause between jobs, so that each starts from an idle program as a POS job would.
constexpr int kSettleMs = 300;

// The Qt serial port, noting when the first write after a mark happens.
class TimedSerialPort : public platform::SerialPort {
  public:
    bool configure(const std::string& device, int baud) override {
        return port_.configure(device, baud);
    }
    bool open() override { return port_.open(); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    bool write(const std::string& bytes) override {
        if (armed_) {
            firstWriteNs_ = clock_.nsecsElapsed();
            armed_ = false;
        }
        return port_.write(bytes);
    }
    std::string readAvailable() override { return port_.readAvailable(); }

    void arm() {
        armed_ = true;
        clock_.start();
    }
    bool written() const { return !armed_; }
    double latencyMs() const { return static_cast<double>(firstWriteNs_) / 1e6; }

  private:
    platform::QtSerialPort port_;
    QElapsedTimer clock_;
    bool armed_ = false;
    qint64 firstWriteNs_ = 0;
};

class FastModeSettings : public app::SettingsStore {
  public:
    explicit FastModeSettings(Session& session) : session_(session) {}
    void Load() override {
        session_.options.SlotServed[0] = true;
        session_.options.FastMode = true;
    }
    void Save() override {}
    std::string ReadTimerField() override { return "1"; }
    void WriteTimerFile(const std::string&) override {}

  private:
    Session& session_;
};

template <typename Done>
bool PumpUntil(platform::EventLoop& loop, Done done) {
    QElapsedTimer budget;
    budget.start();
    while (!done()) {
        if (budget.elapsed() > kJobBudgetMs) return false;
        loop.pumpWait(10);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int jobs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultJobs;

    ecrsim::SimulatorHost simulator;
    std::string error;
    if (!simulator.start(ecrsim::SimOptions{}, error)) {
        std::fprintf(stderr, "simulator: %s\n", error.c_str());
        return 1;
    }
    zelmar::testing::ScratchFolder data("latency");
    Session session;
    session.DataFolder = session.DefaultDataFolder = session.ProgramFolder = data.path();
    session.PortDevice[0] = simulator.serialDevice();

    platform::QtEventLoop loop;
    platform::StdFileSystem files;
    platform::QtShell shell;
    jobs::JobFiles jobFiles(session, files, loop);
    TimedSerialPort serial;
    link::TraceFiles trace(session, loop, files);
    link::Link link(session, loop, serial, jobFiles, trace);
    convert::Converter converter(session, trace);
    link::TransmissionDriver driver(session, link, loop, files, jobFiles, trace, shell);
    link::RegisterReader reader(session, link, files, jobFiles);
    app::LinkServices services(link, driver, reader);
    driver.setConverter([&converter](std::string& path) { return converter.ConvertJobFile(path); });
    FastModeSettings settings(session);
    app::HeadlessView view;
    app::MainForm form({session, loop, files, jobFiles, services, settings, view, trace, trace,
                        [] { return std::make_unique<platform::QtDirWatcher>(); }});
    form.StartUp();

    const std::string matr = data.file("SR_MATR.001");
    if (!PumpUntil(loop, [&] { return files.fileExists(matr) && form.DirWatch(); })) {
        std::fprintf(stderr, "the register data was not read\n");
        return 1;
    }
    const std::string dati = data.file("SR_DATI.001"), start = data.file("SR_START.001");
    const std::string done = data.file("FINESCO.001"), failed = data.file("SR_ERR.001");
    std::vector<double> latencies;
    int failures = 0;
    for (int i = 0; i < jobs; ++i) {
        // Let the previous job's port-close tick and watcher events settle.
        PumpUntil(loop, [&, settle = QElapsedTimer()]() mutable {
            if (!settle.isValid()) settle.start();
            return settle.elapsed() > kSettleMs;
        });
        WriteTextLines(dati, {"SALE,N1,P100,:PANE;", "PAYM;"});
        serial.arm();
        WriteTextLines(start, {"00000000"});
        if (!PumpUntil(loop, [&] { return serial.written(); })) {
            std::fprintf(stderr, "job %d never reached the line\n", i);
            return 1;
        }
        latencies.push_back(serial.latencyMs());
        PumpUntil(loop, [&] { return !files.fileExists(start); });
        if (files.fileExists(failed)) ++failures;
        files.removeFile(done);
        files.removeFile(failed);
    }
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) {
        return latencies[static_cast<std::size_t>(q * static_cast<double>(latencies.size() - 1))];
    };
    std::printf(
        "jobs %d failed %d  SR_START -> first byte: median %.2f ms  p90 %.2f ms  max %.2f ms\n",
        jobs, failures, at(0.5), at(0.9), latencies.back());
    form.Unload();
    return 0;
}
