#include "platform/win32/win32_shell.h"

#include <shellapi.h>

#include <cstdio>
#include <limits>
#include <memory>

#include "common/utf8_text.h"
#include "platform/ping_reply.h"

namespace zelmar::platform {
namespace {

constexpr char kBoxTitle[] = "Zelmar1";
// One echo request waits up to 4 s (the command's default); the rest is for starting the
// command and resolving a name. Past this the ping counts as failed.
constexpr std::int64_t kPingBudgetMs = 6000;
// Room for the whole output of one ping, so the command never waits for us to read.
constexpr DWORD kPipeBytes = 64 * 1024;
constexpr DWORD kKillWaitMs = 1000;
constexpr std::int64_t kOperatorTime = std::numeric_limits<std::int64_t>::max() / 2;

// Shows the text it owns.
DWORD WINAPI ShowBox(void* ownedText) {
    const std::unique_ptr<std::string> text(static_cast<std::string*>(ownedText));
    MessageBoxA(nullptr, text->c_str(), kBoxTitle,
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
    return 0;
}

// The ping of the system folder, so that a ping.exe beside the program is never run. The host
// is plain text (IsPlainHostText) and quoted besides.
std::string PingCommandLine(const std::string& host) {
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return "\"" + std::string(folder, length) + "\\ping.exe\" -n 1 \"" + host + "\"";
}

// What the pipe holds now; never waits for more.
std::string DrainPipe(HANDLE pipe) {
    std::string output;
    char buffer[4096];
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr) ||
            got == 0) {
            break;
        }
        output.append(buffer, got);
    }
    return output;
}

}  // namespace

void Win32Shell::notice(const std::string& text) {
    if (windowMode_) {
        showMessageBox(text);
        return;
    }
    if (noticeLog_) {
        noticeLog_->write(LogLevel::kWarning, Utf8FromWindows1252(text));
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

bool Win32Shell::openDocument(const std::string& path) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;  // smaller values are error numbers
}

int Win32Shell::ping(const std::string& host) {
    if (!IsPlainHostText(host)) return -1;
    return PingReplyMs(pingOutput(host));
}

// The box lives on a thread of its own while this one keeps the loop turning, as a box of the
// window's toolkit would; the call returns when the operator has closed it.
void Win32Shell::showMessageBox(const std::string& text) {
    auto owned = std::make_unique<std::string>(text);
    HANDLE thread = CreateThread(nullptr, 0, ShowBox, owned.get(), 0, nullptr);
    if (!thread) {
        ShowBox(owned.release());
        return;
    }
    owned.release();  // the thread's now
    pumpUntilSignalled(thread, kOperatorTime);
    CloseHandle(thread);
}

// Runs the ping command hidden, its output into a pipe, and waits for it in the loop.
std::string Win32Shell::pingOutput(const std::string& host) {
    std::string commandLine = PingCommandLine(host);
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (commandLine.empty() || !CreatePipe(&readEnd, &writeEnd, &inheritable, kPipeBytes)) {
        return {};
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);  // only the command's end goes over
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        CloseHandle(process.hThread);
        if (pumpUntilSignalled(process.hProcess, kPingBudgetMs)) {
            output = DrainPipe(readEnd);
        } else {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, kKillWaitMs);
        }
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return output;
}

// Turns the loop until the handle is signalled or limitMs have passed; true when signalled.
bool Win32Shell::pumpUntilSignalled(HANDLE handle, std::int64_t limitMs) {
    bool signalled = false;
    if (!loop_.watchHandle(handle, [&] {
            signalled = true;
            loop_.unwatch(handle);
        })) {
        return false;
    }
    const std::int64_t deadline = loop_.nowMs() + limitMs;
    for (std::int64_t left = limitMs; !signalled && left > 0; left = deadline - loop_.nowMs()) {
        loop_.pumpWait(static_cast<int>(std::min<std::int64_t>(left, INT32_MAX)));
    }
    loop_.unwatch(handle);
    return signalled;
}

}  // namespace zelmar::platform
