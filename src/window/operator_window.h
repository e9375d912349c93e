#pragma once

#include "window/control.h"

namespace zelmar::window {

// fZelmar1, the operator's window: every control with its caption, tip, place and what it
// shows and runs. The Qt and the Win32 window are both built from this one table.
const WindowDescription& OperatorWindow();

// How often the shown window takes the core's texts again; hidden, it does not.
inline constexpr int kRefreshIntervalMs = 250;

}  // namespace zelmar::window
