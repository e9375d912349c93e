#pragma once

#include "common/diagnostics_log.h"
#include "platform/shell.h"

namespace zelmar::platform {

// Notices, documents and the ping through Qt and the system's own ping command.
class QtShell : public Shell {
  public:
    // With a window, notices are message boxes; without one they go to standard error.
    void setWindowMode(bool windowMode) { windowMode_ = windowMode; }
    // Without a window, notices go to this log as warnings instead (not owned).
    void setNoticeLog(DiagnosticsLog* log) { noticeLog_ = log; }

    void notice(const std::string& text) override;
    bool openDocument(const std::string& path) override;
    // Waits for the ping command in the event loop, at most kPingBudgetMs; -1 on any failure.
    int ping(const std::string& host) override;

  private:
    bool windowMode_ = false;
    DiagnosticsLog* noticeLog_ = nullptr;
};

}  // namespace zelmar::platform
