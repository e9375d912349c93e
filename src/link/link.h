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
// Timed reads wait in the event loop and end on Timer1's tick or on Session::link.TimeoutFlag
// raised from outside (the window's unload).
class Link : public CommandSender {
  public:
    Link(Session& session, platform::EventLoop& loop, platform::SerialPort& port,
         jobs::JobFiles& jobFiles, TraceSink& trace);
    ~Link() override;

    void setNetwork(NetworkTransport* network);  // not owned

    // Start-up test of a slot's device: it opens with the settings and closes again.
    bool ProbeComPort(int slot);
    // The serial port is bound to Session::CurrentSlot: opening it for one slot closes the
    // port of any other, and a command is only written to the current slot's open port.
    void OpenConnection() override;
    void CloseConnection() override;
    bool PortOpen() const override;
    bool OpenPort() override;
    void ClosePort() override;
    bool WriteRaw(const std::string& bytes) override;

    SendResult SendCommand(std::string& command) override;
    int ParseStatus(const std::string& text) override;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zelmar::link
