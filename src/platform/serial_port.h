#pragma once

#include <string>

namespace zelmar::platform {

// The serial line to the register (MSComm1's role). Bytes arriving wake EventLoop::pumpWait.
class SerialPort {
  public:
    virtual ~SerialPort() = default;
    // Remembers the device and the settings (baud, N, 8, 1, RTS/CTS with XON/XOFF). False when
    // they are unusable on their face (no device, no baud rate). Does not open the device, so a
    // job's port is opened once, by open(); whether the device exists is probe()'s question.
    virtual bool configure(const std::string& device, int baudRate) = 0;
    // The start-up test of a configured port: opens the device with the settings and closes it
    // again. True when it opened; a port that is open already has passed.
    virtual bool probe() {
        if (isOpen()) return true;
        const bool opened = open();
        close();
        return opened;
    }
    virtual bool open() = 0;  // opens the configured device; DTR/RTS failures are not errors
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool write(const std::string& bytes) = 0;  // one write of the whole text
    virtual std::string readAvailable() = 0;           // what has arrived; never blocks
};

}  // namespace zelmar::platform
