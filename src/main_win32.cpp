// zelmar1.exe on Windows: the program on the Win32 event loop, devices and window.
// The command line is the Linux program's (zelmar1 --help lists it); --demo needs the register
// simulator, which this build does not have. A console program, so that Ctrl-C and a console's
// close reach the unload; with its window it lets go of a console the system made for it alone.

#include <memory>
#include <optional>
#include <string>

#include "platform/win32/executable_folder.h"
#include "platform/win32/win32_dir_watcher.h"
#include "platform/win32/win32_end_requests.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_serial_port.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_single_instance.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_tcp_socket.h"
#include "program/program_platform.h"
#include "ui_win32/win32_window_view.h"

namespace {

using namespace zelmar;

class Win32ProgramPlatform : public program::ProgramPlatform {
  public:
    explicit Win32ProgramPlatform(const program::ProgramMode& mode)
        : shell_(loop_), serial_(loop_), socket_(loop_) {
        if (!mode.headless) {
            platform::CloseOwnConsole();
            window_.emplace();
        }
        shell_.setWindowMode(window_.has_value());
    }

    std::string executableFolder() override { return platform::ExecutableFolder(); }
    bool lockFolder(program::FolderLock kind, const std::string& folder) override {
        const bool program = kind == program::FolderLock::kProgramFolder;
        auto& lock = program ? programLock_ : dataLock_;
        lock = std::make_unique<platform::Win32SingleInstance>(
            program ? platform::Win32SingleInstance::Scope::kProgramFolder
                    : platform::Win32SingleInstance::Scope::kDataFolder,
            folder);
        return lock->tryAcquire();
    }
    Devices devices() override { return {loop_, system_, shell_, serial_, socket_}; }
    void setNoticeLog(DiagnosticsLog& log) override { shell_.setNoticeLog(&log); }
    std::unique_ptr<platform::DirWatcher> makeDirWatcher() override {
        return std::make_unique<platform::Win32DirWatcher>(loop_);
    }
    bool startDemoRegister(std::string&, std::string& error) override {
        error = "the register simulator is not part of the Windows program";
        return false;
    }
    app::OperatorWindow* window() override { return window_ ? &*window_ : nullptr; }
    void onEndRequest(std::function<void()> onEnd) override {
        endRequests_ = std::make_unique<platform::Win32EndRequests>(loop_, std::move(onEnd));
    }
    int run() override { return loop_.run(); }
    void quit(int status) override { loop_.quit(status); }

  private:
    std::unique_ptr<platform::Win32SingleInstance> programLock_, dataLock_;
    platform::Win32EventLoop loop_;
    platform::Win32SystemInfo system_;
    platform::Win32Shell shell_;
    platform::Win32SerialPort serial_;
    platform::Win32TcpSocket socket_;
    std::optional<ui_win32::Win32WindowView> window_;
    std::unique_ptr<platform::Win32EndRequests> endRequests_;
};

}  // namespace

int main(int argc, char** argv) {
    return program::ProgramMain(argc, argv, [](int&, char**, const program::ProgramMode& mode) {
        return std::make_unique<Win32ProgramPlatform>(mode);
    });
}
