#pragma once

#include <QSerialPort>

#include "platform/serial_port.h"

namespace zelmar::platform {

// The register's serial line on QSerialPort: baud,N,8,1 with RTS/CTS and XON/XOFF together,
// DTR and RTS raised. Bytes arrive through the event loop, so they wake EventLoop::pumpWait.
class QtSerialPort : public SerialPort {
  public:
    QtSerialPort() = default;

    bool configure(const std::string& device, int baudRate) override;
    bool open() override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    bool write(const std::string& bytes) override;
    std::string readAvailable() override;

  private:
    bool applySettings(const std::string& device, int baudRate);
    void enableSoftwareFlowControl();
    void raiseControlLines();

    QSerialPort port_;
    std::string device_;  // empty until configured
};

}  // namespace zelmar::platform
