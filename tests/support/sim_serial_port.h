#pragma once

#include <memory>
#include <string>
#include <utility>

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
    SimSerialPort(platform::FakeEventLoop& loop, ecrsim::SerialEngine& engine)
        : loop_(loop), engine_(engine) {}

    // As on a real line, a missing device shows when it is opened.
    bool configure(const std::string& device, int) override { return !device.empty(); }
    bool open() override {
        if (engine_.linkDropped()) return false;
        received_.clear();
        return open_ = true;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_ && !engine_.linkDropped(); }
    bool write(const std::string& bytes) override {
        if (!isOpen()) return false;
        for (auto& output : engine_.receive(bytes)) {
            if (output.dropLink) continue;  // the engine now reports the line dead
            loop_.postDelayed(output.delayMs, [this, alive = std::weak_ptr<char>(alive_),
                                               bytes = std::move(output.bytes)] {
                if (alive.lock() && isOpen()) received_ += bytes;
            });
        }
        return true;
    }
    std::string readAvailable() override { return std::exchange(received_, {}); }

  private:
    platform::FakeEventLoop& loop_;
    ecrsim::SerialEngine& engine_;
    std::shared_ptr<char> alive_ = std::make_shared<char>();  // pending replies check it
    bool open_ = false;
    std::string received_;
};

}  // namespace zelmar::testing
