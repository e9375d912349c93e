#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "app/operator_commands.h"
#include "common/session.h"
#include "platform/win32/message_window.h"
#include "ui_win32/win32_controls.h"
#include "ui_win32/win32_pictures.h"
#include "window/window_model.h"

namespace zelmar::ui_win32 {

// fZelmar1 drawn with Win32: built from the window description, it shows what the window model
// says of each control and hands every operator action to the model; it holds no rule of its
// own. Created hidden.
class Win32MainWindow : private platform::MessageHandler {
  public:
    // The notification icon's mouse messages arrive as this message.
    static constexpr UINT kTrayMessage = WM_APP + 1;

    // What the window leaves to its view.
    struct Events {
        std::function<void()> showAbout;
        std::function<void(UINT mouseMessage)> trayMessage;
        std::function<void()> notificationAreaRestarted;
    };

    Win32MainWindow(Session& session, app::OperatorCommands& commands,
                    const ProgramPictures& pictures, Events events);
    ~Win32MainWindow();
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Brings the controls in line with the options and texts. A slot box whose value the
    // program changed runs its click too, so the poll and the frames follow it.
    void refresh();

    HWND hwnd() const { return hwnd_; }
    // Without a notification area, minimising must not hide the only way back.
    void setHidesOnMinimise(bool hides) { hidesOnMinimise_ = hides; }
    // The "&File" menu at the pointer, as the notification icon's right click shows it.
    void popUpFileMenu();

  private:
    LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    HMENU BuildMenus();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnControlNotification(const window::Control& control, HWND hwnd, int notification);
    void OnSize(WPARAM kind);

    window::WindowModel model_;
    Events events_;
    WindowFonts fonts_;
    HMENU fileMenu_ = nullptr;
    HWND hwnd_ = nullptr;
    std::vector<ControlWindow> controls_;
    UINT notificationAreaCreated_ = 0;
    bool applying_ = false;  // refresh is setting the controls: their notifications are ours
    bool timerRunning_ = false;
    bool hidesOnMinimise_ = true;
};

}  // namespace zelmar::ui_win32
