#pragma once

#include <memory>
#include <string>

#include "platform/fake/fake_event_loop.h"
#include "platform/serial_port.h"
#include "sim/core/serial_engine.h"

namespace zelmar::testing {

// A serial port wired to the simulated register, on virtual time.
//   - write() hands the bytes to the engine at once; each reply byte string is delivered
//     with loop.postDelayed(its delay), so the driver's timed reads see it when the fake
//     loop's clock gets there, and readAvailable() returns it.
//   - Replies that come due while the port is closed are lost, as on a real line.
//   - After a scripted drop the device is gone: isOpen() is false, open() and write() fail.
// The port must be destroyed before the loop; replies still pending then are discarded.
class SimSerialPort : public platform::SerialPort {
  public:
    SimSerialPort(platform::FakeEventLoop& loop, ecrsim::SerialEngine& engine);

    bool configure(const std::string& device, int baudRate) override;
    bool open() override;
    void close() override;
    bool isOpen() const override;
    bool write(const std::string& bytes) override;
    std::string readAvailable() override;

    const std::string& written() const { return written_; }  // every byte the driver wrote

  private:
    bool present() const { return !engine_.linkDropped(); }

    platform::FakeEventLoop& loop_;
    ecrsim::SerialEngine& engine_;
    std::shared_ptr<char> alive_ = std::make_shared<char>();  // pending replies check it
    bool open_ = false;
    std::string received_;
    std::string written_;
};

}  // namespace zelmar::testing
