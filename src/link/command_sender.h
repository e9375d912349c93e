#pragma once

#include <string>

namespace zelmar::link {

// What became of one command line. The register's answer is left in Session::link
// (ResponseText, ResponseFields, status fields).
enum class SendResult {
    kAccepted,     // the register carried the line out
    kNoContact,    // no ACK to the enquiries, the port refused a write, or the call did not
                   // start (another one was running, or the program is ending)
    kRefused,      // refused by the register, attempts used up, or the slot's port not open
    kBusyTooLong,  // the register answered busy too many times
};

// What the transmission driver, the register-data read and the operator commands need of the
// link. Link implements it; tests may script it.
class CommandSender {
  public:
    virtual ~CommandSender() = default;
    // Every command is answered; a "j" heading the register refused as too short is rebuilt
    // in `command` and sent again.
    virtual SendResult SendCommand(std::string& command) = 0;
    virtual int ParseStatus(const std::string& text) = 0;
    virtual bool PortOpen() const = 0;
    virtual bool OpenPort() = 0;  // opens the serial port of Session::CurrentSlot
    virtual void ClosePort() = 0;
    virtual bool WriteRaw(const std::string& bytes) = 0;  // unframed serial write (CAN)
    virtual void OpenConnection() = 0;
    virtual void CloseConnection() = 0;
};

}  // namespace zelmar::link
