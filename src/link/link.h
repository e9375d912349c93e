#pragma once

#include <memory>
#include <string>

#include "common/session.h"
#include "common/trace_sink.h"
#include "jobs/job_files.h"
#include "link/command_sender.h"
#include "link/network_transport.h"
#include "platform/event_loop.h"
#include "platform/serial_port.h"

namespace zelmar::link {

// The one way to the register: SendCommand over the serial line, or over the network
// transport when the network option is selected. Fills Session::link with each answer.
class Link : public CommandSender {
  public:
    Link(Session& session, platform::EventLoop& loop, platform::SerialPort& port,
         jobs::JobFiles& jobFiles, TraceSink& trace);
    ~Link() override;

    void setNetwork(NetworkTransport* network);  // not owned

    bool OpenComPort(int port);     // applies the settings for slot `port`; does not open it
    int OpenConnection() override;  // 0 always
    void CloseConnection() override;
    bool PortOpen() const override;
    bool OpenPort() override;
    void ClosePort() override;
    bool WriteRaw(const std::string& bytes) override;

    int SendCommand(std::string& command, int& expectAnswer) override;
    int ParseStatus(const std::string& text) override;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zelmar::link
