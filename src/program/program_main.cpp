#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/config_settings_store.h"
#include "app/convert_dry_run.h"
#include "app/link_services.h"
#include "app/main_form.h"
#include "app/operator_commands.h"
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
#include "platform/service_heartbeat.h"
#include "platform/service_notifier.h"
#include "program/program_platform.h"

namespace zelmar::program {
namespace {

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
    RegisterSide(Session& session, const ProgramPlatform::Devices& devices,
                 platform::FileSystem& files, jobs::JobFiles& jobFiles, DiagnosticsLog& log)
        : trace(session, devices.loop, files),
          traceLog(trace, log),
          link(session, devices.loop, devices.serialPort, jobFiles, traceLog),
          network(session, devices.loop, devices.tcpSocket, jobFiles, traceLog, devices.shell),
          converter(session, traceLog),
          driver(session, link, devices.loop, files, jobFiles, traceLog, devices.shell),
          reader(session, link, files, jobFiles),
          services(link, driver, reader) {
        driver.setConverter([this](std::string& path) { return converter.ConvertJobFile(path); });
        driver.setTraceFileControl(&trace);
        reader.setTraceFileControl(&trace);
        services.setNetwork(&network);
    }

    link::TraceFiles trace;
    LoggingTraceSink traceLog;  // the trace, and at debug level the diagnostics log
    link::Link link;
    link::NetworkLink network;
    convert::Converter converter;
    link::TransmissionDriver driver;
    link::RegisterReader reader;
    app::LinkServices services;
};

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

void PrintDemoHint(const std::string& device, const std::string& dataFolder) {
    // The one thing a new user needs to know to try it.
    std::cout << "zelmar1 demo: register simulator on " << device
              << " (slot 1)\nzelmar1 demo: data folder " << dataFolder
              << "\nzelmar1 demo: write SR_DATI.001, then SR_START.001, into the data folder;"
                 " FINESCO.001 and SR_OUT.001 (or SR_ERR.001) come back\n"
              << std::flush;
}

int RunProgram(ProgramPlatform& platform, config::ConfigCommandLine commandLine,
               const ProgramMode& mode) {
    const std::string executableFolder = platform.executableFolder();
    const std::string programFolder = config::WithoutTrailingSeparator(
        commandLine.programDir.empty() ? executableFolder : commandLine.programDir);
    // Another copy serves this installation: end silently.
    if (!platform.lockFolder(FolderLock::kProgramFolder, programFolder)) return 0;

    app::OperatorWindow* const window = platform.window();
    const ProgramPlatform::Devices devices = platform.devices();
    platform::EventLoop& loop = devices.loop;
    platform::Shell& shell = devices.shell;
    platform::StdFileSystem files;
    StreamLog headlessLog(std::cerr, commandLine.logLevel, platform::StandardErrorIsJournal());
    DiagnosticsLog& log = window ? NoDiagnosticsLog() : headlessLog;
    if (!window) platform.setNoticeLog(log);
    Session session;
    if (mode.demo) {
        std::string device, error;
        if (!platform.startDemoRegister(device, error)) {
            std::cerr << "zelmar1: demo register: " << error << "\n";
            return kExitNoDemoRegister;
        }
        commandLine.ports.push_back({1, device});
    }
    const config::FolderDecision folders = config::ConfigureFoldersAndPorts(
        session, devices.system, files, shell, commandLine, executableFolder);
    if (folders.failed) {
        if (!folders.messageShown) shell.notice(folders.message);
        return kExitNoDataFolder;
    }
    // Two programs on one data folder would take each other's jobs and result files.
    if (!platform.lockFolder(FolderLock::kDataFolder, session.DataFolder)) {
        const std::string message =
            "Cartella dati gia' servita da un altro Zelmar1: " + session.DataFolder;
        std::cerr << "zelmar1: " << message << "\n";
        if (window) shell.notice(message);
        return kExitDataFolderServed;
    }
    if (mode.demo) PrintDemoHint(commandLine.ports.back().device, session.DataFolder);

    jobs::JobFiles jobFiles(session, files, loop);
    jobFiles.setNoticeSink([&shell](const std::string& text) { shell.notice(text); });
    RegisterSide registers(session, devices, files, jobFiles, log);
    config::SettingsFiles settingsFiles(files, session.ProgramFolder);
    app::ConfigSettingsStore settingsStore(session, settingsFiles);
    DemoSettings demoSettings(session, settingsStore);
    app::SettingsStore& settings =
        mode.demo ? static_cast<app::SettingsStore&>(demoSettings) : settingsStore;
    app::HeadlessView headlessView;
    app::FormView& view = window ? static_cast<app::FormView&>(*window) : headlessView;
    app::MainForm form({session, loop, files, jobFiles, registers.services, settings, view,
                        registers.trace, registers.trace,
                        [&platform] { return platform.makeDirWatcher(); }});
    app::OperatorCommands commands({session, form, loop, files, jobFiles, registers.services,
                                    registers.link, settingsFiles, shell,
                                    [&registers] { return registers.network.socketState(); }});
    form.setQuitHandler([&platform] { platform.quit(0); });
    form.setDiagnosticsLog(log);
    const auto notifier = platform::MakeServiceNotifier();
    platform::ServiceHeartbeat heartbeat(loop, *notifier);
    platform.onEndRequest([&form, &heartbeat] {
        heartbeat.stopping();
        form.Unload();
    });

    if (window) {
        window->attach(session, commands);
        window->startWith([&form] { form.StartUp(); });
    } else {
        form.StartUp();
    }
    heartbeat.ready();
    const int status = platform.run();
    log.write(LogLevel::kInfo, "stopped");
    return status;
}

}  // namespace

int ProgramMain(int argc, char** argv, const PlatformMaker& makePlatform) {
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
    mode.headless = HasArgument(argc, argv, "--headless");
    const std::unique_ptr<ProgramPlatform> platform = makePlatform(argc, argv, mode);
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
    return RunProgram(*platform, commandLine, mode);
}

}  // namespace zelmar::program
