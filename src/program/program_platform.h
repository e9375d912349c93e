#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/form_view.h"
#include "common/diagnostics_log.h"
#include "platform/dir_watcher.h"
#include "platform/event_loop.h"
#include "platform/serial_port.h"
#include "platform/shell.h"
#include "platform/system_info.h"
#include "platform/tcp_socket.h"

namespace zelmar::program {

// What the command line asks of the platform before anything is built.
struct ProgramMode {
    bool headless = false;  // --headless: no window even where a display exists
    bool demo = false;      // --demo: slot 1 served by the built-in register simulator
};

// The folders one running copy holds: its installation, and the exchange folder it serves.
enum class FolderLock { kProgramFolder, kDataFolder };

// Everything the program takes from the system it runs on: the one event loop, the devices,
// the operator's window and the process-wide services. One implementation per platform (Qt on
// Linux, Win32 on Windows); the program itself is the same on both.
class ProgramPlatform {
  public:
    virtual ~ProgramPlatform() = default;

    virtual std::string executableFolder() = 0;
    // Takes the folder's lock for the life of the platform; false when another copy holds it.
    virtual bool lockFolder(FolderLock kind, const std::string& folder) = 0;

    // The one loop and the devices the program works with, alive as long as the platform.
    struct Devices {
        platform::EventLoop& loop;
        platform::SystemInfo& system;
        platform::Shell& shell;
        platform::SerialPort& serialPort;
        platform::TcpSocket& tcpSocket;
    };
    virtual Devices devices() = 0;
    // Headless notices go to this log (not owned) instead of message boxes.
    virtual void setNoticeLog(DiagnosticsLog& log) = 0;
    virtual std::unique_ptr<platform::DirWatcher> makeDirWatcher() = 0;

    // Starts the register simulator; its serial device, or false with the reason.
    virtual bool startDemoRegister(std::string& device, std::string& error) = 0;
    // The operator window, or null when the program runs without one.
    virtual app::OperatorWindow* window() = 0;

    // Ctrl-C, SIGTERM, the session's end and the like: `onEnd` runs once on the loop.
    virtual void onEndRequest(std::function<void()> onEnd) = 0;
    virtual int run() = 0;  // the event loop, until quit()
    virtual void quit(int status) = 0;
};

using PlatformMaker =
    std::function<std::unique_ptr<ProgramPlatform>(int& argc, char** argv, const ProgramMode&)>;

// The whole program: options, folders, locks, the job cycle and the window, on `makePlatform`'s
// platform. Returns the process exit status.
int ProgramMain(int argc, char** argv, const PlatformMaker& makePlatform);

}  // namespace zelmar::program
