#pragma once

#include <string>

#include "sim/core/engine_output.h"
#include "sim/core/fault_script.h"
#include "sim/core/register_model.h"

namespace ecrsim {

enum class Transport { Serial, Tcp };

// Status codes of the scripted faults. Over TCP the driver's reply decoder reads the status
// fields as decimal numbers, so the paper-end bit 5 is written "32" there.
namespace fault_code {
inline constexpr int kBusy = 0x1A;
inline constexpr int kBusyModelCe = 0x0E;  // model CE's busy code on the serial line
inline constexpr int kSerialPaperEnd = 0x31;
inline constexpr int kSerialPaperStatus = 0x05;  // bit 2 paper end, bit 0 send again
inline constexpr int kTcpPaperEnd = 0x2C;        // "Carta finita", class 4
inline constexpr int kTcpPaperStatus = 0x32;     // reads as decimal 32: bit 5
inline constexpr int kDeviceFault = 0x2E;        // "Stampante scollegata", class 9
inline constexpr int kSendAgain = 0x10;
inline constexpr int kSendAgainStatus = 0x01;  // device status bit 0
}  // namespace fault_code

// The answer to one command line that reached the register: a scripted status fault (the
// command then has no effect), or the model's own answer.
Answer Respond(RegisterModel& model, FaultScript& faults, const std::string& commandLine,
               Transport transport);

// The framed answer as it goes out after delayMs, spoiled when a bad checksum or a short
// frame is scripted, or (TCP) cut into segments kSplitGapMs apart.
Outputs EmitAnswer(FaultScript& faults, const std::string& answerText, int delayMs,
                   Transport transport);

// Gap between the segments of a split reply, so the peer's stack delivers them separately.
inline constexpr int kSplitGapMs = 20;

}  // namespace ecrsim
