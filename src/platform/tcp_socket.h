#pragma once

#include <functional>
#include <string>

namespace zelmar::platform {

// The TCP client to a networked register (Winsock1's role).
class TcpSocket {
  public:
    // kError: the connection failed and the socket has not been closed since.
    enum class State { kClosed, kConnecting, kConnected, kClosing, kError };
    virtual ~TcpSocket() = default;
    virtual void connectToHost(const std::string& host, int port) = 0;
    virtual State state() const = 0;
    virtual void close() = 0;
    virtual bool send(const std::string& bytes) = 0;
    virtual std::string readAvailable() = 0;
    // Called on the loop when data arrives, and on a socket error with the Winsock-style
    // number (10053 connection aborted, 10060 timed out, 10061 refused, ...) and a description.
    std::function<void()> onDataArrival;
    std::function<void(int number, const std::string& description)> onError;
};

}  // namespace zelmar::platform
