#include "ui_win32/win32_tray_icon.h"

#include <algorithm>

namespace zelmar::ui_win32 {

TrayIcon::TrayIcon(HWND owner, UINT callbackMessage) {
    data_.cbSize = sizeof(data_);
    data_.hWnd = owner;
    data_.uID = 1;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
}

TrayIcon::~TrayIcon() {
    remove();
}

bool TrayIcon::Available() {
    return FindWindowA("Shell_TrayWnd", nullptr) != nullptr;
}

bool TrayIcon::Send(DWORD action) {
    return Shell_NotifyIconA(action, &data_) != FALSE;
}

void TrayIcon::show(HICON icon, const std::string& tip) {
    data_.hIcon = icon;
    const std::size_t length = std::min(tip.size(), sizeof(data_.szTip) - 1);
    std::copy_n(tip.begin(), length, data_.szTip);
    data_.szTip[length] = '\0';
    if (added_) {
        Send(NIM_MODIFY);
    } else {
        added_ = Send(NIM_ADD);
    }
}

void TrayIcon::remove() {
    if (added_) Send(NIM_DELETE);
    added_ = false;
}

void TrayIcon::showAgain() {
    if (added_) added_ = Send(NIM_ADD);
}

}  // namespace zelmar::ui_win32
