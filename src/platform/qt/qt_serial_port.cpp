#include "platform/qt/qt_serial_port.h"

#include <termios.h>

namespace zelmar::platform {

bool QtSerialPort::configure(const std::string& device, int baudRate) {
    close();  // the new settings take effect at the next open
    device_.clear();
    if (device.empty() || !applySettings(device, baudRate)) return false;
    device_ = device;
    return true;
}

bool QtSerialPort::open() {
    if (port_.isOpen()) return true;
    if (device_.empty() || !port_.open(QIODevice::ReadWrite)) {
        port_.clearError();
        return false;
    }
    enableSoftwareFlowControl();
    raiseControlLines();
    return true;
}

void QtSerialPort::close() {
    if (port_.isOpen()) port_.close();
    port_.clearError();
}

bool QtSerialPort::write(const std::string& bytes) {
    if (!port_.isOpen()) return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (port_.write(bytes.data(), size) != size) return false;
    port_.flush();  // hand what the driver takes now; the loop sends any rest
    return true;
}

std::string QtSerialPort::readAvailable() {
    if (!port_.isOpen()) return {};
    return port_.readAll().toStdString();
}

// On a closed port Qt only stores the settings; they are applied when the device opens.
bool QtSerialPort::applySettings(const std::string& device, int baudRate) {
    port_.setPortName(QString::fromLocal8Bit(device.c_str()));
    const bool ok =
        baudRate > 0 && port_.setBaudRate(baudRate) && port_.setDataBits(QSerialPort::Data8) &&
        port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
        port_.setFlowControl(QSerialPort::HardwareControl);
    port_.clearError();
    return ok;
}

// QSerialPort offers one flow control at a time; the register's line wants RTS/CTS and
// XON/XOFF together, so the second is switched on in the driver. Where the driver refuses,
// the port still works with RTS/CTS alone.
void QtSerialPort::enableSoftwareFlowControl() {
    termios settings{};
    if (tcgetattr(port_.handle(), &settings) != 0) return;
    settings.c_iflag |= IXON | IXOFF;
    tcsetattr(port_.handle(), TCSANOW, &settings);
}

// A pseudo-terminal or a three-wire adapter has no modem lines: refusing them is not an error.
void QtSerialPort::raiseControlLines() {
    port_.setDataTerminalReady(true);
    port_.setRequestToSend(
        true);  // refused by Qt under hardware flow control: the driver drives it
    port_.clearError();
}

}  // namespace zelmar::platform
