#pragma once

#include <memory>
#include <string>
#include <utility>

#include "platform/fake/fake_event_loop.h"
#include "platform/tcp_socket.h"
#include "sim/core/tcp_engine.h"

namespace zelmar::testing {

// A TCP client wired to the simulated register, on virtual time; replies of an earlier
// connection never reach a later one.
class SimTcpSocket : public platform::TcpSocket {
  public:
    SimTcpSocket(platform::FakeEventLoop& loop, ecrsim::TcpEngine& engine)
        : loop_(loop), engine_(engine) {}

    void connectToHost(const std::string& host, int port) override {
        host_ = host;
        port_ = port;
        state_ = State::kConnecting;
        ++connection_;
        later(0, [this] {
            if (!reachable_) return fail(10061, "Connection refused");
            state_ = State::kConnected;
            received_.clear();
            engine_.connectionOpened();
        });
    }
    State state() const override { return state_; }
    void close() override {
        state_ = State::kClosed;
        ++connection_;
    }
    bool send(const std::string& bytes) override {
        if (state_ != State::kConnected) return false;
        sent_ += bytes;
        for (auto& output : engine_.receive(bytes)) {
            later(output.delayMs, [this, output = std::move(output)] {
                output.dropLink ? fail(10053, "Connection aborted") : deliver(output.bytes);
            });
        }
        return true;
    }
    std::string readAvailable() override { return std::exchange(received_, {}); }

    void setReachable(bool reachable) { reachable_ = reachable; }
    const std::string& host() const { return host_; }
    int port() const { return port_; }
    const std::string& sent() const { return sent_; }  // every byte the driver sent
    void deliver(const std::string& bytes) {           // bytes from the register's side now
        received_ += bytes;
        if (onDataArrival) onDataArrival();
    }

  private:
    template <typename Event>
    void later(int delayMs, Event event) {
        loop_.postDelayed(delayMs, [alive = std::weak_ptr<char>(alive_), connection = connection_,
                                    this, event = std::move(event)]() mutable {
            if (alive.lock() && connection == connection_) event();
        });
    }
    void fail(int number, const char* description) {
        close();
        if (onError) onError(number, description);
    }

    platform::FakeEventLoop& loop_;
    ecrsim::TcpEngine& engine_;
    std::shared_ptr<char> alive_ = std::make_shared<char>();  // pending events check it
    State state_ = State::kClosed;
    int connection_ = 0;  // bumps on every connect and close
    bool reachable_ = true;
    std::string host_, received_, sent_;
    int port_ = 0;
};

}  // namespace zelmar::testing
