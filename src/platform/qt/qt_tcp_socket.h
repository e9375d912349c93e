#pragma once

#include <QTcpSocket>

#include "platform/tcp_socket.h"

namespace zelmar::platform {

// The register's TCP connection on QTcpSocket. Callbacks run on the event loop; Qt's socket
// errors reach onError as the Winsock numbers the network transport knows.
class QtTcpSocket : public TcpSocket {
  public:
    QtTcpSocket();

    void connectToHost(const std::string& host, int port) override;
    State state() const override;
    void close() override;
    bool send(const std::string& bytes) override;
    std::string readAvailable() override;

    static int WinsockNumber(QAbstractSocket::SocketError error);

  private:
    QTcpSocket socket_;
    bool failed_ = false;  // an error since the last connect or close: Winsock's state 9
};

}  // namespace zelmar::platform
