#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "window/control.h"
#include "window/window_model.h"

namespace zelmar::ui_win32 {

// The system's message font, and its bold face, for every control of one window.
class WindowFonts {
  public:
    WindowFonts();
    ~WindowFonts();
    WindowFonts(const WindowFonts&) = delete;
    WindowFonts& operator=(const WindowFonts&) = delete;

    HFONT of(const window::Control& control) const { return control.bold ? bold_ : normal_; }

  private:
    HFONT normal_ = nullptr;
    HFONT bold_ = nullptr;
};

// One control's window and the description it was built from.
struct ControlWindow {
    const window::Control* control = nullptr;
    HWND hwnd = nullptr;
};

// The control's id in WM_COMMAND: its index in the description, past the system's ids.
inline constexpr int kFirstControlId = 100;

// Creates every control of `description` but the menus as children of `parent`, at their
// places in the window's client area, with their fonts and tips. Frames go to the bottom of
// the stacking order so they never paint over what they hold. `busyIcon` is Image1's picture.
std::vector<ControlWindow> CreateControls(HWND parent, const window::WindowDescription& description,
                                          const WindowFonts& fonts, HICON busyIcon);

// Shows `state`. The caller ignores the notifications this sends (an edit's EN_CHANGE): only
// the operator's actions reach the model.
void ApplyState(const ControlWindow& control, const window::ControlState& state);

// The background of a label, a box or a read-only text (WM_CTLCOLORSTATIC): the dialog colour,
// except a read-only text that is enabled, which is white like an edit.
HBRUSH ControlBackground(HDC dc, HWND control);

// Paints an owner-drawn shape in the colour ApplyState gave it.
void DrawShape(const DRAWITEMSTRUCT& item);

// The text a control holds now (an edit's, an editable list's), Windows-1252.
std::string WindowText(HWND hwnd);

}  // namespace zelmar::ui_win32
