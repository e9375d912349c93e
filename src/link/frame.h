#pragma once

#include <string>

#include "common/control_bytes.h"

namespace zelmar::link {

// Two decimal digits: the byte sum modulo 256, then modulo 100 ("00" for an empty text).
std::string CalcChecksum(const std::string& text);

// STX, command, "/", checksum of command & "/", ETX. The "/" is added even when the command
// already ends with one.
std::string BuildCommandFrame(const std::string& command);

// An answer frame as the register sends it: STX, text, checksum of text, ETX.
std::string BuildAnswerFrame(const std::string& text);

}  // namespace zelmar::link
