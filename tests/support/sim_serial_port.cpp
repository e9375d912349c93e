#include "support/sim_serial_port.h"

namespace zelmar::testing {

SimSerialPort::SimSerialPort(platform::FakeEventLoop& loop, ecrsim::SerialEngine& engine)
    : loop_(loop), engine_(engine) {}

bool SimSerialPort::configure(const std::string& device, int /*baudRate*/) {
    return !device.empty();  // as on a real line, a missing device shows when it is opened
}

bool SimSerialPort::open() {
    if (!present()) return false;
    open_ = true;
    received_.clear();
    return true;
}

void SimSerialPort::close() {
    open_ = false;
}

bool SimSerialPort::isOpen() const {
    return open_ && present();
}

bool SimSerialPort::write(const std::string& bytes) {
    if (!isOpen()) return false;
    written_ += bytes;
    for (auto& output : engine_.receive(bytes)) {
        if (output.dropLink) continue;  // the engine now reports the line dead
        loop_.postDelayed(output.delayMs, [this, alive = std::weak_ptr<char>(alive_),
                                           bytes = std::move(output.bytes)] {
            if (alive.lock() && isOpen()) received_ += bytes;
        });
    }
    return true;
}

std::string SimSerialPort::readAvailable() {
    std::string bytes;
    bytes.swap(received_);
    return bytes;
}

}  // namespace zelmar::testing
