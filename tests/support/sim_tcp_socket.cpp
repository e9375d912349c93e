#include "support/sim_tcp_socket.h"

namespace zelmar::testing {

SimTcpSocket::SimTcpSocket(platform::FakeEventLoop& loop, ecrsim::TcpEngine& engine)
    : loop_(loop), engine_(engine) {}

void SimTcpSocket::connectToHost(const std::string& host, int port) {
    host_ = host;
    port_ = port;
    state_ = State::kConnecting;
    const int connection = ++connection_;
    loop_.postDelayed(0, [this, alive = std::weak_ptr<char>(alive_), connection] {
        if (!alive.lock() || connection != connection_) return;
        if (!reachable_) {
            state_ = State::kClosed;
            if (onError) onError(kConnectionRefused, "Connection refused");
            return;
        }
        state_ = State::kConnected;
        received_.clear();
        engine_.connectionOpened();
    });
}

void SimTcpSocket::close() {
    state_ = State::kClosed;
    ++connection_;
}

bool SimTcpSocket::send(const std::string& bytes) {
    if (state_ != State::kConnected) return false;
    sent_ += bytes;
    for (auto& output : engine_.receive(bytes)) {
        loop_.postDelayed(output.delayMs, [this, alive = std::weak_ptr<char>(alive_),
                                           connection = connection_, output = std::move(output)] {
            if (!alive.lock() || connection != connection_) return;
            if (output.dropLink) {
                dropConnection();
            } else {
                deliver(output.bytes);
            }
        });
    }
    return true;
}

void SimTcpSocket::deliver(const std::string& bytes) {
    received_ += bytes;
    if (onDataArrival) onDataArrival();
}

void SimTcpSocket::dropConnection() {
    close();
    if (onError) onError(kConnectionAborted, "Connection aborted");
}

std::string SimTcpSocket::readAvailable() {
    std::string bytes;
    bytes.swap(received_);
    return bytes;
}

}  // namespace zelmar::testing
