
#include "sim/transport/pty_endpoint.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sim/transport/scheduled_output.h"

namespace ecrsim {
namespace {

constexpr std::size_t kReadChunk = 4096;

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

bool MakeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    cfmakeraw(&settings);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

PtyEndpoint::PtyEndpoint(SerialEngine& engine) : engine_(engine) {}

PtyEndpoint::~PtyEndpoint() {
    closeAll();
}

bool PtyEndpoint::open(const std::string& linkPath, std::string& error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        error = SystemError("posix_openpt");
        return false;
    }
    const char* name = nullptr;
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || !(name = ptsname(master_))) {
        error = SystemError("pseudo-terminal set-up");
        closeAll();
        return false;
    }
    slavePath_ = name;
    slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave_ < 0 || !MakeRaw(slave_) || fcntl(master_, F_SETFL, O_NONBLOCK) != 0) {
        error = SystemError(slavePath_.c_str());
        closeAll();
        return false;
    }
    if (!linkPath.empty()) {
        ::unlink(linkPath.c_str());  // a stale link of an earlier run
        if (::symlink(slavePath_.c_str(), linkPath.c_str()) != 0) {
            error = SystemError(linkPath.c_str());
            closeAll();
            return false;
        }
        linkPath_ = linkPath;
    }
    readNotifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    connect(readNotifier_.get(), &QSocketNotifier::activated, this, &PtyEndpoint::onReadable);
    writeNotifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_.get(), &QSocketNotifier::activated, this, &PtyEndpoint::flush);
    return true;
}

void PtyEndpoint::onReadable() {
    char buffer[kReadChunk];
    for (;;) {
        const ssize_t count = ::read(master_, buffer, sizeof buffer);
        if (count > 0) {
            ScheduleOutputs(
                engine_.receive(std::string_view(buffer, static_cast<std::size_t>(count))), this,
                [this](const std::string& bytes) { send(bytes); },
                [this] {
                    // Not from inside the notifier's own signal: close on the next turn.
                    QTimer::singleShot(0, this, [this] {
                        closeAll();
                        if (onDropped) onDropped();
                    });
                });
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && errno == EAGAIN) return;
        // End of file or an error on the master: stop listening rather than spin on it.
        std::fprintf(stderr, "%s\n", SystemError("pseudo-terminal read").c_str());
        readNotifier_->setEnabled(false);
        return;
    }
}

void PtyEndpoint::send(const std::string& bytes) {
    if (master_ < 0) return;
    pendingOut_ += bytes;
    flush();
}

void PtyEndpoint::flush() {
    while (!pendingOut_.empty()) {
        const ssize_t count = ::write(master_, pendingOut_.data(), pendingOut_.size());
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) break;  // full (EAGAIN): the write notifier tells us when to go on
        pendingOut_.erase(0, static_cast<std::size_t>(count));
    }
    writeNotifier_->setEnabled(!pendingOut_.empty());
}

void PtyEndpoint::closeAll() {
    readNotifier_.reset();
    writeNotifier_.reset();
    if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
    linkPath_.clear();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
    slave_ = master_ = -1;
    pendingOut_.clear();
}

}  // namespace ecrsim
