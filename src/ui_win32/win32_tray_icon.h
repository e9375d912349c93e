#pragma once

#include <windows.h>

#include <string>

namespace zelmar::ui_win32 {

// The notification-area icon. Its mouse messages reach `owner` as `callbackMessage`, with the
// mouse message in lParam.
class TrayIcon {
  public:
    TrayIcon(HWND owner, UINT callbackMessage);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Whether the desktop has a notification area to put an icon in.
    static bool Available();

    // Adds the icon, or changes its picture and tip.
    void show(HICON icon, const std::string& tip);
    void remove();
    // After Explorer restarts, the notification area is empty: put the icon back.
    void showAgain();

  private:
    bool Send(DWORD action);

    NOTIFYICONDATAA data_{};
    bool added_ = false;
};

}  // namespace zelmar::ui_win32
