#pragma once

#include "window/control.h"

namespace zelmar::window {

// frmAbout: from the "?" menu; "&OK" closes it.
WindowDescription AboutBox();
// frmSplash: loaded with its texts while the main form loads, never shown.
WindowDescription SplashBox();
// Form1: the closing box, on top of everything while the program ends.
WindowDescription ClosingBox();

}  // namespace zelmar::window
