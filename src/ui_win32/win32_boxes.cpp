#include "ui_win32/win32_boxes.h"

#include "window/boxes.h"

namespace zelmar::ui_win32 {

Win32Box::Win32Box(window::WindowDescription description, const platform::WindowPlace& frame)
    : description_(std::move(description)) {
    platform::WindowPlace place = frame;
    place.clientWidth = description_.width;
    place.clientHeight = description_.height;
    place.centred = true;
    hwnd_ = platform::CreateMessageWindow(description_.caption.c_str(), place, this);
    controls_ = CreateControls(hwnd_, description_, fonts_, nullptr);
    for (const ControlWindow& control : controls_) ShowWindow(control.hwnd, SW_SHOWNA);
}

Win32Box::~Win32Box() {
    DestroyWindow(hwnd_);
}

void Win32Box::show() {
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(hwnd_);
}

void Win32Box::hide() {
    ShowWindow(hwnd_, SW_HIDE);
}

LRESULT Win32Box::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto index = static_cast<std::size_t>(LOWORD(wParam) - kFirstControlId);
    const bool closeButton = message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
                             index < description_.controls.size() &&
                             description_.controls[index].command == window::Command::kCloseBox;
    if (message == WM_CTLCOLORSTATIC) {
        return reinterpret_cast<LRESULT>(
            ControlBackground(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    }
    if (closeButton || message == WM_CLOSE) {
        if (onClose_) onClose_();
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

AboutBox::AboutBox(HWND owner, HICON icon)
    : Win32Box(window::AboutBox(), {.style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                    .exStyle = WS_EX_DLGMODALFRAME,
                                    .owner = owner}) {
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

SplashBox::SplashBox()
    : Win32Box(window::SplashBox(),
               {.style = WS_POPUP | WS_BORDER, .exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW}) {}

ClosingBox::ClosingBox(HWND owner)
    : Win32Box(window::ClosingBox(),
               {.style = WS_POPUP | WS_CAPTION, .exStyle = WS_EX_TOPMOST, .owner = owner}) {}

}  // namespace zelmar::ui_win32
