#pragma once

#include <string>

namespace zelmar::link {

// What the transmission driver, the register-data read and the operator commands need of the
// link. Link implements it; tests may script it.
class CommandSender {
  public:
    virtual ~CommandSender() = default;
    // 1 accepted, 0 no contact, -1 refused or failed, -9 busy too long. The answer is left in
    // Session::link (ResponseText, ResponseFields, status fields).
    virtual int SendCommand(std::string& command, int& expectAnswer) = 0;
    virtual int ParseStatus(const std::string& text) = 0;
    virtual bool PortOpen() const = 0;
    virtual bool OpenPort() = 0;  // opens the serial port of Session::CurrentSlot
    virtual void ClosePort() = 0;
    virtual bool WriteRaw(const std::string& bytes) = 0;  // unframed serial write (CAN)
    virtual void OpenConnection() = 0;
    virtual void CloseConnection() = 0;
};

}  // namespace zelmar::link
