#pragma once

#include <windows.h>

#include <functional>

#include "platform/win32/message_window.h"
#include "platform/win32/win32_event_loop.h"

namespace zelmar::platform {

// Every way of asking the program to end becomes one call of onEnd on the event loop, so the
// program ends through its normal unload: Ctrl+C, Ctrl+Break, the console being closed, log-off
// and shut-down, and the named event "Local\Zelmar1-Stop" that the uninstaller sets. For the
// console's close, log-off and shut-down the system ends the process as soon as the console
// handler returns, so the handler waits, bounded, until this object is destroyed: destroy it
// once the unload is done. A program without a console hears of log-off and shut-down through
// a hidden window's WM_ENDSESSION, which is answered only once the unload has ended (bounded).
// One at a time.
class Win32EndRequests : private MessageHandler {
  public:
    Win32EndRequests(Win32EventLoop& loop, std::function<void()> onEnd);
    ~Win32EndRequests();
    Win32EndRequests(const Win32EndRequests&) = delete;
    Win32EndRequests& operator=(const Win32EndRequests&) = delete;

  private:
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void requestEnd();
    void onStopEvent();
    void onSessionEnd();

    Win32EventLoop& loop_;
    std::function<void()> onEnd_;
    HANDLE stopEvent_ = nullptr;
    HWND sessionWindow_ = nullptr;
};

// A window program started by the system (log-on, the Start menu) should not keep the console
// the system gave it; one started from a command prompt shares that prompt's console and keeps it.
void CloseOwnConsole();

}  // namespace zelmar::platform
