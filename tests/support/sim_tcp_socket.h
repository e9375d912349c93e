#pragma once

#include <memory>
#include <string>

#include "platform/fake/fake_event_loop.h"
#include "platform/tcp_socket.h"
#include "sim/core/tcp_engine.h"

namespace zelmar::testing {

// A TCP client wired to the simulated register, on virtual time.
//   - connectToHost() is asynchronous like Winsock: the state is kConnecting until the loop
//     runs, then kConnected; an unreachable register (setReachable(false)) gives kClosed and
//     onError(10061).
//   - send() hands the bytes to the engine; each reply segment is delivered with
//     loop.postDelayed(its delay), then onDataArrival() runs and readAvailable() returns it.
//   - A scripted drop closes the connection: kClosed and onError(10053); later sends fail.
//   - Replies of an earlier connection never reach a later one.
// The socket must be destroyed before the loop; replies still pending then are discarded.
class SimTcpSocket : public platform::TcpSocket {
  public:
    static constexpr int kConnectionAborted = 10053;
    static constexpr int kConnectionRefused = 10061;

    SimTcpSocket(platform::FakeEventLoop& loop, ecrsim::TcpEngine& engine);

    void connectToHost(const std::string& host, int port) override;
    State state() const override { return state_; }
    void close() override;
    bool send(const std::string& bytes) override;
    std::string readAvailable() override;

    // Test controls and observations.
    void setReachable(bool reachable) { reachable_ = reachable; }
    const std::string& host() const { return host_; }
    int port() const { return port_; }
    const std::string& sent() const { return sent_; }  // every byte the driver sent
    void deliver(const std::string& bytes);            // bytes from the register's side now

  private:
    void dropConnection();

    platform::FakeEventLoop& loop_;
    ecrsim::TcpEngine& engine_;
    std::shared_ptr<char> alive_ = std::make_shared<char>();  // pending events check it
    State state_ = State::kClosed;
    int connection_ = 0;  // bumps on every connect and close
    bool reachable_ = true;
    std::string host_;
    int port_ = 0;
    std::string received_;
    std::string sent_;
};

}  // namespace zelmar::testing
