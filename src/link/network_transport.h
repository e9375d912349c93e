#pragma once

#include <string>

#include "link/command_sender.h"
#include "platform/tcp_socket.h"

namespace zelmar::link {

// The network side of SendCommand. The serial link hands a command to it when the network
// option is selected and reads back the raw reply (STX, text, checksum, ETX).
class NetworkTransport {
  public:
    virtual ~NetworkTransport() = default;
    virtual SendResult sendCommand(const std::string& command) = 0;  // accepted or refused
    virtual const std::string& rawReply() const = 0;
    virtual void open() = 0;   // OpenSocket / network branch of OpenConnection
    virtual void close() = 0;  // CloseSocketConnection
    virtual platform::TcpSocket::State socketState() const = 0;
    virtual void initialise() = 0;  // network set-up at start-up and on switching to network
};

}  // namespace zelmar::link
