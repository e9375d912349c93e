#include "platform/win32/win32_end_requests.h"

namespace zelmar::platform {
namespace {

constexpr char kStopEventName[] = "Local\\Zelmar1-Stop";
// Longer than the system waits for a console program at close, log-off or shut-down before
// it ends the process itself.
constexpr DWORD kUnloadWaitMs = 20000;
constexpr int kUnloadPumpStepMs = 100;

// Shared with the system's handler thread, which may still use it while the owner goes away:
// made once, never closed.
struct ConsoleEvents {
    HANDLE requested = CreateEventA(nullptr, FALSE, FALSE, nullptr);  // set by the handler
    HANDLE unloaded = CreateEventA(nullptr, TRUE, FALSE, nullptr);    // set when it may return
};

ConsoleEvents& Console() {
    static ConsoleEvents events;
    return events;
}

// Runs on a thread of the system's: it only wakes the loop, and for the events after which
// the process is ended, waits for the unload.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            SetEvent(Console().requested);
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            SetEvent(Console().requested);
            WaitForSingleObject(Console().unloaded, kUnloadWaitMs);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

Win32EndRequests::Win32EndRequests(Win32EventLoop& loop, std::function<void()> onEnd)
    : loop_(loop), onEnd_(std::move(onEnd)) {
    ResetEvent(Console().requested);
    ResetEvent(Console().unloaded);
    loop_.watchHandle(Console().requested, [this] { requestEnd(); });
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    // Manual-reset: once set it stays set for every copy that is running.
    stopEvent_ = CreateEventA(nullptr, TRUE, FALSE, kStopEventName);
    if (stopEvent_) loop_.watchHandle(stopEvent_, [this] { onStopEvent(); });

    // Top-level but never shown: message-only windows do not hear that the session ends.
    sessionWindow_ = CreateMessageWindow("", WindowPlace{.style = WS_OVERLAPPED}, this);
}

Win32EndRequests::~Win32EndRequests() {
    if (sessionWindow_) DestroyWindow(sessionWindow_);
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    loop_.unwatch(Console().requested);
    SetEvent(Console().unloaded);
    if (stopEvent_) {
        loop_.unwatch(stopEvent_);
        CloseHandle(stopEvent_);
    }
}

void Win32EndRequests::requestEnd() {
    const auto onEnd = onEnd_;  // the handler may end this object
    onEnd();
}

LRESULT Win32EndRequests::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) return TRUE;
    if (message == WM_ENDSESSION && wParam) {
        onSessionEnd();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The process ends when this message has been answered: the unload runs to its end first.
void Win32EndRequests::onSessionEnd() {
    Win32EventLoop& loop = loop_;  // the unload may end this object
    requestEnd();
    const std::int64_t deadline = loop.nowMs() + kUnloadWaitMs;
    while (!loop.quitRequested() && loop.nowMs() < deadline) loop.pumpWait(kUnloadPumpStepMs);
}

void CloseOwnConsole() {
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) == 1) FreeConsole();
}

// The event stays set: it is heard once.
void Win32EndRequests::onStopEvent() {
    loop_.unwatch(stopEvent_);
    requestEnd();
}

}  // namespace zelmar::platform
