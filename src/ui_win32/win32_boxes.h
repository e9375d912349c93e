#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "platform/win32/message_window.h"
#include "ui_win32/win32_controls.h"
#include "window/control.h"

namespace zelmar::ui_win32 {

// A small window built from a box description, centred on the screen, created hidden.
class Win32Box : private platform::MessageHandler {
  public:
    ~Win32Box();
    Win32Box(const Win32Box&) = delete;
    Win32Box& operator=(const Win32Box&) = delete;

    HWND hwnd() const { return hwnd_; }
    void show();  // on top, painted at once
    void hide();
    // Its closing button, or its close box.
    void setOnClose(std::function<void()> onClose) { onClose_ = std::move(onClose); }

  protected:
    Win32Box(window::WindowDescription description, const platform::WindowPlace& frame);

  private:
    LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    window::WindowDescription description_;  // the controls point into it
    WindowFonts fonts_;
    HWND hwnd_ = nullptr;
    std::vector<ControlWindow> controls_;
    std::function<void()> onClose_;
};

// frmAbout: from the "?" menu; "&OK" closes it.
class AboutBox : public Win32Box {
  public:
    explicit AboutBox(HWND owner, HICON icon);
};

// frmSplash: loaded with its texts while the main form loads, never shown.
class SplashBox : public Win32Box {
  public:
    SplashBox();
};

// Form1: the closing box, on top of everything while the program ends.
class ClosingBox : public Win32Box {
  public:
    explicit ClosingBox(HWND owner);
};

}  // namespace zelmar::ui_win32
