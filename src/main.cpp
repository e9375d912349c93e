// zelmar1 on Linux: the program on Qt's event loop, devices and widgets.
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
#include <memory>
#include <optional>
#include <string>

#include "platform/qt/qt_dir_watcher.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_shell.h"
#include "platform/qt/qt_system_info.h"
#include "platform/qt/qt_tcp_socket.h"
#include "platform/qt/signal_hook.h"
#include "platform/qt/single_instance.h"
#include "program/program_platform.h"
#include "sim/transport/simulator_host.h"
#include "ui/window_view.h"

namespace {

using namespace zelmar;

// A display exists unless the platform plugin says otherwise or no display is named at all.
bool DisplayAvailable() {
    const char* platformName = std::getenv("QT_QPA_PLATFORM");
    if (platformName && *platformName) {
        const std::string name(platformName);
        return name != "offscreen" && name != "minimal";
    }
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

class QtProgramPlatform : public program::ProgramPlatform {
  public:
    QtProgramPlatform(int& argc, char** argv, const program::ProgramMode& mode)
        : application_(MakeApplication(argc, argv, !mode.headless && DisplayAvailable())) {
        if (qobject_cast<QApplication*>(application_.get())) window_.emplace();
        shell_.setWindowMode(window_.has_value());
    }

    std::string executableFolder() override {
        return QCoreApplication::applicationDirPath().toStdString();
    }
    bool lockFolder(program::FolderLock kind, const std::string& folder) override {
        auto& lock = kind == program::FolderLock::kProgramFolder ? programLock_ : dataLock_;
        lock = std::make_unique<platform::SingleInstance>(
            kind == program::FolderLock::kProgramFolder
                ? platform::SingleInstance::Scope::kProgramFolder
                : platform::SingleInstance::Scope::kDataFolder,
            folder);
        return lock->tryAcquire();
    }
    Devices devices() override { return {loop_, system_, shell_, serial_, socket_}; }
    void setNoticeLog(DiagnosticsLog& log) override { shell_.setNoticeLog(&log); }
    std::unique_ptr<platform::DirWatcher> makeDirWatcher() override {
        return std::make_unique<platform::QtDirWatcher>();
    }
    bool startDemoRegister(std::string& device, std::string& error) override {
        if (!simulator_.start(ecrsim::SimOptions{}, error) || simulator_.serialDevice().empty()) {
            if (error.empty()) error = "no pseudo-terminal on this system";
            return false;
        }
        device = simulator_.serialDevice();
        return true;
    }
    app::OperatorWindow* window() override { return window_ ? &*window_ : nullptr; }
    void onEndRequest(std::function<void()> onEnd) override {
        endHook_ =
            std::make_unique<platform::SignalHook>([onEnd = std::move(onEnd)](int) { onEnd(); });
    }
    int run() override { return QCoreApplication::exec(); }
    void quit(int status) override { QCoreApplication::exit(status); }

  private:
    static std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv, bool window) {
        if (window) return std::make_unique<QApplication>(argc, argv);
        return std::make_unique<QCoreApplication>(argc, argv);
    }

    std::unique_ptr<QCoreApplication> application_;
    std::unique_ptr<platform::SingleInstance> programLock_, dataLock_;
    platform::QtEventLoop loop_;
    platform::QtSystemInfo system_;
    platform::QtShell shell_;
    platform::QtSerialPort serial_;
    platform::QtTcpSocket socket_;
    ecrsim::SimulatorHost simulator_;
    std::optional<ui::WindowView> window_;
    std::unique_ptr<platform::SignalHook> endHook_;
};

}  // namespace

int main(int argc, char** argv) {
    return program::ProgramMain(
        argc, argv, [](int& count, char** arguments, const program::ProgramMode& mode) {
            return std::make_unique<QtProgramPlatform>(count, arguments, mode);
        });
}
