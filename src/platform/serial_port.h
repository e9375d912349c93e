#pragma once

#include <string>

namespace zelmar::platform {

// The serial line to the register (MSComm1's role). Bytes arriving wake EventLoop::pumpWait.
class SerialPort {
  public:
    virtual ~SerialPort() = default;
    // Remembers the device and the settings (baud, N, 8, 1, RTS/CTS with XON/XOFF). False when
    // the device cannot take them. Does not leave the port open.
    virtual bool configure(const std::string& device, int baudRate) = 0;
    virtual bool open() = 0;  // opens the configured device; DTR/RTS failures are not errors
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool write(const std::string& bytes) = 0;  // one write of the whole text
    virtual std::string readAvailable() = 0;           // what has arrived; never blocks
};

}  // namespace zelmar::platform
