#pragma once

#include <string>
#include <vector>

#include "sim/core/fault_script.h"
#include "sim/core/register_config.h"

namespace ecrsim {

// Everything a simulator run is set up with: the register, its faults and its transports.
struct SimOptions {
    RegisterConfig config;
    FaultScript faults;
    std::string journalPath;  // empty: journal kept in memory only
    int delayMs = 0;          // answer delay
    bool serial = true;       // open a pseudo-terminal
    std::string linkPath;     // symbolic link to the pseudo-terminal's device
    int tcpPort = -1;         // -1 no TCP; 0 an ephemeral port

    // One key=value setting: the register keys of RegisterConfig, and journal, delay, fault.
    bool set(const std::string& key, const std::string& value, std::string& error);
    // A register file: key=value lines; blank lines and lines starting with "#" are skipped.
    bool loadFile(const std::string& path, std::string& error);
};

// The ecrsim command line (without the program name), applied in order over `options`:
//   --config FILE  --model XX  --description TEXT  --serial S  --rt  --mf  --firmware TEXT
//   --journal FILE  --delay MS  --fault RULE  --link PATH  --tcp PORT  --no-serial
//   --set KEY=VALUE (any register-file key)
bool ParseSimArguments(const std::vector<std::string>& args, SimOptions& options,
                       std::string& error);

}  // namespace ecrsim
