#pragma once

#include "common/diagnostics_log.h"
#include "platform/shell.h"
#include "platform/win32/win32_event_loop.h"

namespace zelmar::platform {

// Notices, documents and the ping through the Win32 shell and the system's own ping command.
// Its waits (a message box, the ping) keep the event loop turning, so timers, devices and the
// window go on meanwhile.
class Win32Shell : public Shell {
  public:
    explicit Win32Shell(Win32EventLoop& loop) : loop_(loop) {}

    // With a window, notices are message boxes; without one they go to standard error.
    void setWindowMode(bool windowMode) { windowMode_ = windowMode; }
    // Without a window, notices go to this log as warnings instead (not owned).
    void setNoticeLog(DiagnosticsLog* log) { noticeLog_ = log; }

    void notice(const std::string& text) override;
    bool openDocument(const std::string& path) override;
    // Waits for the ping command in the event loop, at most kPingBudgetMs; -1 on any failure.
    int ping(const std::string& host) override;

  private:
    void showMessageBox(const std::string& text);
    std::string pingOutput(const std::string& host);
    bool pumpUntilSignalled(HANDLE handle, std::int64_t limitMs);

    Win32EventLoop& loop_;
    bool windowMode_ = false;
    DiagnosticsLog* noticeLog_ = nullptr;
};

}  // namespace zelmar::platform
