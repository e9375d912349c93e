#pragma once

#include <memory>
#include <string>
#include <utility>

#include "platform/fake/fake_event_loop.h"
#include "platform/serial_port.h"
#include "sim/core/serial_engine.h"

namespace zelmar::testing {

// A serial port wired to the simulated register, on virtual time. Replies due while it is
// closed are lost; after a scripted drop the device is gone.
class SimSerialPort : public platform::SerialPort {
  public:
    SimSerialPort(platform::FakeEventLoop& loop, ecrsim::SerialEngine& engine)
        : loop_(loop), engine_(engine) {}

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
            if (output.dropLink) continue;
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
