#pragma once

namespace zelmar::app {

// The main form's pauses: long enough for the operator to see a box, and for a register or a
// closing port to settle.
// The poll tick after a job or a register-data read closes the link after this long.
inline constexpr int kPortCloseDelayMs = 1000;
// The closing box is left on screen this long before the unload goes on.
inline constexpr int kClosingBoxPauseMs = 1000;
// After raising the time-out flag at unload, the running job or read gets this long to notice.
inline constexpr int kRunningWorkGraceMs = 2000;
// Each served slot's link is given this long to close at unload.
inline constexpr int kSlotClosePauseMs = 1000;

}  // namespace zelmar::app
