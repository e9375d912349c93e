// zelmar1: the composition root. Builds the platform, the configuration, the link and the main
// form's logic, and runs them on one Qt event loop.
//
//   zelmar1 [--headless] [--demo] [--program-dir DIR] [--data-dir DIR] [--port N=DEVICE]...
//           [--log-level LEVEL]           (zelmar1 --help lists them, zelmar1 --version)
//     with a display: the window and the notification icon; --headless, or no display: the
//     same logic without any widget; --demo: against the built-in register simulator on a
//     pseudo-terminal, served as slot 1
//   zelmar1 --convert JOBFILE ...        (dry run of the converter, see app/convert_dry_run.h)

#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/config_settings_store.h"
#include "app/convert_dry_run.h"
#include "app/form_view.h"
#include "app/link_services.h"
#include "app/main_form.h"
#include "app/operator_commands.h"
#include "common/diagnostics_log.h"
#include "common/logging_trace_sink.h"
#include "common/session.h"
#include "common/version_text.h"
#include "config/command_line_options.h"
#include "config/data_folder.h"
#include "config/settings_files.h"
#include "config/startup_configuration.h"
#include "convert/converter.h"
#include "jobs/job_files.h"
#include "link/link.h"
#include "link/network_link.h"
#include "link/register_reader.h"
#include "link/trace_files.h"
#include "link/transmission.h"
#include "platform/file_system.h"
#include "platform/qt/qt_dir_watcher.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_shell.h"
#include "platform/qt/qt_system_info.h"
#include "platform/qt/qt_tcp_socket.h"
#include "platform/qt/signal_hook.h"
#include "platform/qt/single_instance.h"
#include "platform/service_heartbeat.h"
#include "platform/service_notifier.h"
#include "sim/transport/simulator_host.h"
#include "ui/boxes.h"
#include "ui/window_view.h"

namespace {

using namespace zelmar;

constexpr int kExitUsage = 2;
constexpr int kExitNoDataFolder = 1;
constexpr int kExitNoDemoRegister = 3;
constexpr int kExitDataFolderServed = 4;
constexpr const char* kUsageHint = " (zelmar1 --help lists the options)\n";

bool HasArgument(int argc, char** argv, const char* wanted) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], wanted) == 0) return true;
    }
    return false;
}

// The register side of the job cycle: serial link, converter, transmission driver and
// register-data read, over the serial port or, in network mode, the TCP link.
struct RegisterSide {
    RegisterSide(Session& session, platform::EventLoop& loop, platform::FileSystem& files,
                 platform::Shell& shell, jobs::JobFiles& jobFiles, DiagnosticsLog& log)
        : trace(session, loop, files),
          traceLog(trace, log),
          link(session, loop, serial, jobFiles, traceLog),
          network(session, loop, socket, jobFiles, traceLog, shell),
          converter(session, traceLog),
          driver(session, link, loop, files, jobFiles, traceLog, shell),
          reader(session, link, files, jobFiles),
          services(link, driver, reader) {
        driver.setConverter([this](std::string& path) { return converter.ConvertJobFile(path); });
        driver.setTraceFileControl(&trace);
        reader.setTraceFileControl(&trace);
        services.setNetwork(&network);
    }

    platform::QtSerialPort serial;
    platform::QtTcpSocket socket;
    link::TraceFiles trace;
    LoggingTraceSink traceLog;  // the trace, and at debug level the diagnostics log
    link::Link link;
    link::NetworkLink network;
    convert::Converter converter;
    link::TransmissionDriver driver;
    link::RegisterReader reader;
    app::LinkServices services;
};

struct ProgramMode {
    bool window = false;
    bool demo = false;
};

// A display exists unless the platform plugin says otherwise or, on X11/Wayland systems, no
// display is named at all.
bool DisplayAvailable() {
    const char* platformName = std::getenv("QT_QPA_PLATFORM");
    if (platformName && *platformName) {
        const std::string name(platformName);
        return name != "offscreen" && name != "minimal";
    }
#if defined(_WIN32) || defined(__APPLE__)
    return true;
#else
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
#endif
}

// Demo mode: whatever the settings files say, slot 1 is served over the serial line, where
// the simulator's pseudo-terminal waits.
class DemoSettings : public app::SettingsStore {
  public:
    DemoSettings(Session& session, app::SettingsStore& files) : session_(session), files_(files) {}
    void Load() override {
        files_.Load();
        session_.options.SlotServed[0] = true;
        session_.options.UseNetwork = false;
    }
    void Save() override { files_.Save(); }
    std::string ReadTimerField() override { return files_.ReadTimerField(); }
    void WriteTimerFile(const std::string& line) override { files_.WriteTimerFile(line); }

  private:
    Session& session_;
    app::SettingsStore& files_;
};

int RunProgram(config::ConfigCommandLine commandLine, const ProgramMode& mode) {
    const std::string executableFolder = QCoreApplication::applicationDirPath().toStdString();
    const std::string programFolder = config::WithoutTrailingSeparator(
        commandLine.programDir.empty() ? executableFolder : commandLine.programDir);
    platform::SingleInstance instance(platform::SingleInstance::Scope::kProgramFolder,
                                      programFolder);
    if (!instance.tryAcquire()) return 0;  // another copy serves this folder: end silently

    platform::QtEventLoop loop;
    platform::StdFileSystem files;
    platform::QtSystemInfo system;
    platform::QtShell shell;
    shell.setWindowMode(mode.window);
    StreamLog headlessLog(std::cerr, commandLine.logLevel, platform::StandardErrorIsJournal());
    DiagnosticsLog& log = mode.window ? NoDiagnosticsLog() : headlessLog;
    if (!mode.window) shell.setNoticeLog(&log);
    Session session;
    ecrsim::SimulatorHost simulator;
    if (mode.demo) {
        std::string error;
        if (!simulator.start(ecrsim::SimOptions{}, error) || simulator.serialDevice().empty()) {
            if (error.empty()) error = "no pseudo-terminal on this system";
            std::cerr << "zelmar1: demo register: " << error << "\n";
            return kExitNoDemoRegister;
        }
        commandLine.ports.push_back({1, simulator.serialDevice()});
    }
    const config::FolderDecision folders = config::ConfigureFoldersAndPorts(
        session, system, files, shell, commandLine, executableFolder);
    if (folders.failed) {
        if (!folders.messageShown) shell.notice(folders.message);
        return kExitNoDataFolder;
    }
    // Two programs on one data folder would take each other's jobs and result files.
    platform::SingleInstance dataFolderLock(platform::SingleInstance::Scope::kDataFolder,
                                            session.DataFolder);
    if (!dataFolderLock.tryAcquire()) {
        const std::string message =
            "Cartella dati gia' servita da un altro Zelmar1: " + session.DataFolder;
        std::cerr << "zelmar1: " << message << "\n";
        if (mode.window) shell.notice(message);
        return kExitDataFolderServed;
    }

    if (mode.demo) {
        // The one thing a new user needs to know to try it.
        std::cout << "zelmar1 demo: register simulator on " << simulator.serialDevice()
                  << " (slot 1)\nzelmar1 demo: data folder " << session.DataFolder
                  << "\nzelmar1 demo: write SR_DATI.001, then SR_START.001, into the data folder;"
                     " FINESCO.001 and SR_OUT.001 (or SR_ERR.001) come back\n"
                  << std::flush;
    }
    jobs::JobFiles jobFiles(session, files, loop);
    jobFiles.setNoticeSink([&shell](const std::string& text) { shell.notice(text); });
    RegisterSide registers(session, loop, files, shell, jobFiles, log);
    config::SettingsFiles settingsFiles(files, session.ProgramFolder);
    app::ConfigSettingsStore settingsStore(session, settingsFiles);
    DemoSettings demoSettings(session, settingsStore);
    app::SettingsStore& settings =
        mode.demo ? static_cast<app::SettingsStore&>(demoSettings) : settingsStore;
    app::HeadlessView headlessView;
    ui::WindowView windowView;
    app::FormView& view = mode.window ? static_cast<app::FormView&>(windowView) : headlessView;
    app::MainForm form({session, loop, files, jobFiles, registers.services, settings, view,
                        registers.trace, registers.trace,
                        [] { return std::make_unique<platform::QtDirWatcher>(); }});
    app::OperatorCommands commands({session, form, loop, files, jobFiles, registers.services,
                                    registers.link, settingsFiles, shell,
                                    [&registers] { return registers.network.socketState(); }});
    form.setQuitHandler([] { QCoreApplication::exit(0); });
    form.setDiagnosticsLog(log);
    const auto notifier = platform::MakeServiceNotifier();
    platform::ServiceHeartbeat heartbeat(loop, *notifier);
    platform::SignalHook endOnSignal([&form, &heartbeat](int) {
        heartbeat.stopping();
        form.Unload();
    });

    if (!mode.window) {
        form.StartUp();
        heartbeat.ready();
        const int status = QCoreApplication::exec();
        log.write(LogLevel::kInfo, "stopped");
        return status;
    }
    windowView.attach(session, commands);
    {
        const ui::SplashBox splash;  // loaded with its texts, never shown
        form.StartUp();
    }
    windowView.start();
    heartbeat.ready();
    return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (HasArgument(argc, argv, "--help")) {
        std::cout << config::UsageText();
        return 0;
    }
    if (HasArgument(argc, argv, "--version")) {
        std::cout << "zelmar1 " << VersionText() << "\n";
        return 0;
    }
    if (HasArgument(argc, argv, "--convert")) return app::RunConvertDryRun(argc, argv);

    ProgramMode mode;
    mode.demo = HasArgument(argc, argv, "--demo");
    mode.window = !HasArgument(argc, argv, "--headless") && DisplayAvailable();
    std::unique_ptr<QCoreApplication> application =
        mode.window ? std::make_unique<QApplication>(argc, argv)
                    : std::make_unique<QCoreApplication>(argc, argv);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    const config::ConfigCommandLine commandLine = config::ParseConfigCommandLine(arguments);
    if (!commandLine.error.empty()) {
        std::cerr << "zelmar1: " << commandLine.error << kUsageHint;
        return kExitUsage;
    }
    for (const auto& argument : commandLine.otherArguments) {
        if (argument != "--headless" && argument != "--demo") {
            std::cerr << "zelmar1: unknown argument " << argument << kUsageHint;
            return kExitUsage;
        }
    }
    return RunProgram(commandLine, mode);
}
