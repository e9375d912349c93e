#pragma once

#include <string>
#include <vector>

#include "common/diagnostics_log.h"
#include "config/port_map.h"

namespace zelmar::config {

// The configuration options of the command line:
//   --program-dir DIR   folder of the settings files (the data folder follows from it)
//   --data-dir DIR      data folder and default data folder, above every other rule
//   --port N=DEVICE     device of slot N (1..4) for this run only
//   --log-level LEVEL   error, warning, info or debug: the diagnostics log's detail
// Each also takes the form --option=VALUE.
struct ConfigCommandLine {
    std::string programDir;
    std::string dataDir;
    std::vector<PortOverride> ports;
    LogLevel logLevel = LogLevel::kInfo;
    std::vector<std::string> otherArguments;  // everything else, in order, for the caller
    std::string error;                        // not empty when an option above is malformed
};

// `arguments` without the program name.
ConfigCommandLine ParseConfigCommandLine(const std::vector<std::string>& arguments);

// The text of --help: how the program is called and every option, one line each.
std::string UsageText();

}  // namespace zelmar::config
