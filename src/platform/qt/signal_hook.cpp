#include "platform/qt/signal_hook.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QObject>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace zelmar::platform {

namespace {
int g_writeEnd = -1;  // the handler's end of the pipe

// Async-signal-safe: one byte carrying the signal number, nothing else.
void OnSignal(int number) {
    const int savedErrno = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    errno = savedErrno;
}
}  // namespace

struct SignalHook::Native {
    int ends[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void(int)> onSignal;
};

SignalHook::SignalHook(std::function<void(int)> onSignal) : native_(std::make_unique<Native>()) {
    native_->onSignal = std::move(onSignal);
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, native_->ends) != 0) return;
    for (const int end : native_->ends) {
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
    }
    g_writeEnd = native_->ends[0];
    Native* native = native_.get();
    native->notifier = std::make_unique<QSocketNotifier>(native->ends[1], QSocketNotifier::Read);
    QObject::connect(native->notifier.get(), &QSocketNotifier::activated, [native] {
        // One signal per pass: the callback may end this hook; more bytes fire the notifier again.
        char number = 0;
        if (::read(native->ends[1], &number, 1) == 1) native->onSignal(number);
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

SignalHook::~SignalHook() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    g_writeEnd = -1;
    native_->notifier.reset();
    for (const int end : native_->ends) {
        if (end >= 0) ::close(end);
    }
}

}  // namespace zelmar::platform
