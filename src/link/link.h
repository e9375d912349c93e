#pragma once

#include <memory>
#include <string>

#include "common/session.h"
#include "common/trace_sink.h"
#include "jobs/job_files.h"
#include "link/network_transport.h"
#include "platform/event_loop.h"
#include "platform/serial_port.h"

namespace zelmar::link {

// The one way to the register: SendCommand over the serial line, or over the network
// transport when the network option is selected. Fills Session::link with each answer.
class Link {
  public:
    Link(Session& session, platform::EventLoop& loop, platform::SerialPort& port,
         jobs::JobFiles& jobFiles, TraceSink& trace);
    ~Link();

    void setNetwork(NetworkTransport* network);  // not owned

    bool OpenComPort(int port);  // applies the settings for slot `port`; does not open it
    int OpenConnection();        // 0 always
    void CloseConnection();
    bool PortOpen() const;
    bool OpenPort();  // opens the configured serial port
    void ClosePort();
    bool WriteRaw(const std::string& bytes);  // unframed write (CAN)

    // 1 accepted, 0 no contact, -1 refused or failed, -9 busy too long.
    int SendCommand(std::string& command, int& expectAnswer);
    int ParseStatus(const std::string& text);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zelmar::link
