#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "window/control.h"

namespace zelmar::window {

// An upper bound, in pixels, of the width of `text` in the window's font. The widest font the
// window is drawn with is the Qt window's on Linux (DejaVu Sans, 10 pt at 96 dpi); the Windows
// message font is narrower.
int EstimatedTextWidth(std::string_view text);

// What a control of `kind` takes beside its text: borders, margins, a box or an arrow.
int TextPadding(Kind kind);

// Every text the control must show whole: its caption, its items and its longest values.
std::vector<std::string> TextsShown(const Control& control);

// The control's rect, widened where its widest text needs more.
Rect FittedRect(const Control& control);

// The fitted rect in the window's client coordinates.
Rect WindowRect(const WindowDescription& window, const Control& control);

}  // namespace zelmar::window
