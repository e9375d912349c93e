#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/control_bytes.h"

namespace ecrsim {

using zelmar::kAck, zelmar::kCan, zelmar::kEnq, zelmar::kEtx, zelmar::kNak, zelmar::kStx;

// Two decimal digits: the byte sum kept modulo 256 after every addition, then modulo 100.
std::string Checksum(std::string_view text);

// STX, text, checksum of the text, ETX. Used for answers on both transports.
std::string Frame(std::string_view text);

// The text between STX and ETX of a frame body (what came between the two), checked: its last
// two characters must be the checksum of the rest, and the rest must end with "/" and hold at
// least one character before it. Returns the text without the checksum, or nothing.
std::optional<std::string> CheckFrameBody(std::string_view body);

}  // namespace ecrsim
