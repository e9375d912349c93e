#pragma once

// Control bytes of the register's serial line, shared by the driver and the simulator: they
// are the wire's alphabet, not either side's reading of it. The frame tests of both sides
// check the bytes themselves.
namespace zelmar {

inline constexpr char kStx = 0x02;  // starts a frame
inline constexpr char kEtx = 0x03;  // ends a frame
inline constexpr char kEnq = 0x05;  // "are you there?"
inline constexpr char kAck = 0x06;
inline constexpr char kNak = 0x15;
inline constexpr char kCan = 0x18;  // cancels what the register was doing

}  // namespace zelmar
