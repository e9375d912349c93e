#pragma once

#include <windows.h>

#include <memory>

#include "platform/serial_port.h"
#include "platform/win32/win32_event_loop.h"

namespace zelmar::platform {

// The register's serial line on a Win32 COM port: baud,N,8,1 with RTS/CTS and XON/XOFF
// together, DTR raised, overlapped I/O. While the port is open a one-byte read is always
// pending; it ends with the first byte that arrives or after a short time-out, and the loop,
// which watches its event, collects it with whatever else the driver holds and starts the next.
// So arriving bytes wake EventLoop::pumpWait, and no code ever blocks on the device. Any failure
// of the device (an adapter pulled, a pseudo-terminal whose other end went away) closes the port.
class Win32SerialPort : public SerialPort {
  public:
    explicit Win32SerialPort(Win32EventLoop& loop);
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    // "COM3" and "\\.\COM3" name the same port; other names are opened as given.
    bool configure(const std::string& device, int baudRate) override;
    bool open() override;
    void close() override;
    bool isOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
    bool write(const std::string& bytes) override;
    std::string readAvailable() override;

  private:
    struct Operation;  // one overlapped read or write

    static void Retire(std::unique_ptr<Operation> operation);
    bool applySettings();
    void startRead();
    void collectRead();
    bool finishRead();
    void readQueued();

    Win32EventLoop& loop_;
    std::string path_;  // empty until configured
    int baudRate_ = 0;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::unique_ptr<Operation> read_;  // the read in flight while open
    std::string received_;
};

}  // namespace zelmar::platform
