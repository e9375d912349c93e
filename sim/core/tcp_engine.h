#pragma once

#include <string>
#include <string_view>

#include "sim/core/engine_output.h"
#include "sim/core/fault_script.h"
#include "sim/core/register_model.h"

namespace ecrsim {

// The register's side of one TCP connection. A command arrives unframed as the command line
// followed by "/" (so "U/" arrives as "U//", the status poll as "?/"); bytes are collected
// until they end with "/", which on loopback is one send of the driver. The reply is
// STX "RC/DS/FS/.../" checksum ETX after the answer delay: the driver strips its first
// character and its last three and finds the status fields at positions 1, 4 and 7.
class TcpEngine {
  public:
    TcpEngine(RegisterModel& model, FaultScript& faults) : model_(model), faults_(faults) {}

    void setAnswerDelay(int ms) { delayMs_ = ms; }
    void connectionOpened() { pending_.clear(); }  // a new connection starts afresh
    Outputs receive(std::string_view bytes);

  private:
    RegisterModel& model_;
    FaultScript& faults_;
    int delayMs_ = 0;
    std::string pending_;
};

}  // namespace ecrsim
