#pragma once

#include <string>
#include <string_view>

#include "sim/core/engine_output.h"
#include "sim/core/fault_script.h"
#include "sim/core/register_model.h"

namespace ecrsim {

// The register's side of the serial line: bytes from the driver in, bytes to send out.
//   ENQ            -> ACK (nothing under a scripted noack)
//   STX text ETX   -> checked (shape "code.../" + two checksum digits); bad -> NAK;
//                     good -> the command (text less its closing "/") is answered with
//                     STX "RC/DS/FS/.../" checksum ETX after the answer delay (under a
//                     scripted lost the command is executed and nothing is sent)
//   NAK            -> the last answer again, while the driver has not ACKed it
//   ACK            -> the answer is settled
//   CAN            -> silently drops a partial frame and any unsettled answer
// A frame does not need a preceding ENQ. Other bytes between frames are ignored.
class SerialEngine {
  public:
    SerialEngine(RegisterModel& model, FaultScript& faults) : model_(model), faults_(faults) {}

    void setAnswerDelay(int ms) { delayMs_ = ms; }
    Outputs receive(std::string_view bytes);

    // After a scripted drop the line is dead: nothing is answered until restoreLink().
    bool linkDropped() const { return dropped_; }
    void restoreLink();

  private:
    void onByte(char byte, Outputs& out);
    void onFrameEnd(Outputs& out);
    void onCommandFault(FaultKind kind, const std::string& command, Outputs& out);
    void sendAnswer(Outputs& out);

    RegisterModel& model_;
    FaultScript& faults_;
    int delayMs_ = 0;
    bool inFrame_ = false;
    std::string frame_;
    std::string lastAnswer_;  // answer text awaiting the driver's ACK; empty when settled
    bool dropped_ = false;
};

}  // namespace ecrsim
