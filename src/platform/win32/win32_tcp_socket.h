#pragma once

#include <cstdint>
#include <memory>

#include "platform/tcp_socket.h"
#include "platform/win32/win32_event_loop.h"

namespace zelmar::platform {

// The register's TCP connection on Winsock: a non-blocking connect, and the socket's events
// (connected, data, closed) on an event object the loop watches, so callbacks run on the loop.
// Errors reach onError with their Winsock numbers; the peer's close is 10053.
class Win32TcpSocket : public TcpSocket {
  public:
    explicit Win32TcpSocket(Win32EventLoop& loop);
    ~Win32TcpSocket() override;
    Win32TcpSocket(const Win32TcpSocket&) = delete;
    Win32TcpSocket& operator=(const Win32TcpSocket&) = delete;

    void connectToHost(const std::string& host, int port) override;
    State state() const override { return state_; }
    void close() override;  // drops what was not sent, like Winsock's Close
    bool send(const std::string& bytes) override;
    std::string readAvailable() override;

  private:
    bool startConnect(const std::string& host, int port, int& error);
    void onNetworkEvents();
    void receive();
    void fail(int number);
    void release();

    Win32EventLoop& loop_;
    // A SOCKET, held as the integer it is, so that this header needs no Winsock header (which
    // would have to come before every <windows.h>).
    std::uintptr_t socket_;
    HANDLE event_ = nullptr;  // the socket's network events
    State state_ = State::kClosed;
    std::string received_;
    // Work posted to the loop holds a weak copy: a close or the end of the socket voids it.
    std::shared_ptr<int> token_ = std::make_shared<int>(0);
};

}  // namespace zelmar::platform
