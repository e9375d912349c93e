// zelmar1: the composition root. Builds the platform, the configuration, the link and the main
// form's logic, and runs them on one Qt event loop.
//
//   zelmar1 --headless [--program-dir DIR] [--data-dir DIR] [--port N=DEVICE]...
//   zelmar1 --convert JOBFILE ...        (dry run of the converter, see app/convert_dry_run.h)

#include <QCoreApplication>
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
#include "common/session.h"
#include "config/command_line_options.h"
#include "config/data_folder.h"
#include "config/settings_files.h"
#include "config/startup_configuration.h"
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
#include "platform/qt/qt_system_info.h"
#include "platform/qt/signal_hook.h"
#include "platform/qt/single_instance.h"

namespace {

using namespace zelmar;

constexpr int kExitUsage = 2;
constexpr int kExitNoDataFolder = 1;

bool HasArgument(int argc, char** argv, const char* wanted) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], wanted) == 0) return true;
    }
    return false;
}

// The register side of the job cycle: serial link, converter, transmission driver and
// register-data read. The network transport plugs in through services.setNetwork.
struct RegisterSide {
    RegisterSide(Session& session, platform::EventLoop& loop, platform::FileSystem& files,
                 platform::Shell& shell, jobs::JobFiles& jobFiles)
        : trace(session, loop, files),
          link(session, loop, serial, jobFiles, trace),
          converter(session, trace),
          driver(session, link, loop, files, trace, shell),
          reader(session, link, files, jobFiles),
          services(link, driver, reader) {
        driver.setConverter([this](std::string& path) { return converter.ConvertJobFile(path); });
        driver.setTraceFileControl(&trace);
        reader.setTraceFileControl(&trace);
    }

    platform::QtSerialPort serial;
    link::TraceFiles trace;
    link::Link link;
    convert::Converter converter;
    link::TransmissionDriver driver;
    link::RegisterReader reader;
    app::LinkServices services;
};

int RunHeadless(const config::ConfigCommandLine& commandLine) {
    const std::string executableFolder = QCoreApplication::applicationDirPath().toStdString();
    const std::string programFolder = config::WithoutTrailingSeparator(
        commandLine.programDir.empty() ? executableFolder : commandLine.programDir);
    platform::SingleInstance instance(programFolder);
    if (!instance.tryAcquire()) return 0;  // another copy serves this folder: end silently

    platform::QtEventLoop loop;
    platform::StdFileSystem files;
    platform::QtSystemInfo system;
    platform::QtShell shell;
    Session session;
    const config::FolderDecision folders = config::ConfigureFoldersAndPorts(
        session, system, files, shell, commandLine, executableFolder);
    if (folders.failed) {
        if (!folders.messageShown) shell.notice(folders.message);
        return kExitNoDataFolder;
    }

    jobs::JobFiles jobFiles(session, files, loop);
    RegisterSide registers(session, loop, files, shell, jobFiles);
    config::SettingsFiles settingsFiles(files, session.ProgramFolder);
    app::ConfigSettingsStore settings(session, settingsFiles);
    app::HeadlessView view;
    app::MainForm form({session, loop, files, jobFiles, registers.services, settings, view,
                        registers.trace, registers.trace,
                        [] { return std::make_unique<platform::QtDirWatcher>(); }});
    form.setQuitHandler([] { QCoreApplication::exit(0); });
    platform::SignalHook endOnSignal([&form](int) { form.Unload(); });

    form.Form_Load();
    return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (HasArgument(argc, argv, "--convert")) return app::RunConvertDryRun(argc, argv);

    QCoreApplication application(argc, argv);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    const config::ConfigCommandLine commandLine = config::ParseConfigCommandLine(arguments);
    if (!commandLine.error.empty()) {
        std::cerr << "zelmar1: " << commandLine.error << "\n";
        return kExitUsage;
    }
    for (const auto& argument : commandLine.otherArguments) {
        if (argument != "--headless") {
            std::cerr << "zelmar1: unknown argument " << argument << "\n";
            return kExitUsage;
        }
    }
    // The window is started here when --headless is not given, once the ui/ layer exists;
    // until then the program always runs headless.
    return RunHeadless(commandLine);
}
