#pragma once

#include <string>

namespace zelmar::link {

// Control bytes of the serial protocol.
inline constexpr char kEnq = 0x05;
inline constexpr char kAck = 0x06;
inline constexpr char kNak = 0x15;
inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;
inline constexpr char kCan = 0x18;

// Two decimal digits: the byte sum modulo 256, then modulo 100 ("00" for an empty text).
std::string CalcChecksum(const std::string& text);

// STX, command, "/", checksum of command & "/", ETX. The "/" is added even when the command
// already ends with one.
std::string BuildCommandFrame(const std::string& command);

// An answer frame as the register sends it: STX, text, checksum of text, ETX.
std::string BuildAnswerFrame(const std::string& text);

}  // namespace zelmar::link
