#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/form_view.h"
#include "app/operator_commands.h"
#include "common/session.h"

namespace zelmar::ui_win32 {

class AboutBox;
class ClosingBox;
class ProgramPictures;
class TrayIcon;
class Win32MainWindow;

// The operator window on Win32, with the Qt view's operations and behaviour: the main window,
// the notification icon, the closing box and the about box. The program's message loop drives
// them; nothing here runs a loop of its own, not even for the about box.
class Win32WindowView : public app::OperatorWindow {
  public:
    Win32WindowView();
    ~Win32WindowView() override;

    void attach(Session& session, app::OperatorCommands& commands) override;
    void startWith(const std::function<void()>& formStartUp) override;
    Win32MainWindow* window() const { return window_.get(); }
    void start();          // the loaded settings shown; no notification area: the window too
    void restoreWindow();  // the icon's double-click

    void ShowTrayIcon(bool busy, const std::string& tip) override;
    void RemoveTrayIcon() override;
    void HideWindow() override;
    void ShowClosingBox(bool shown) override;

  private:
    void OnTrayMessage(unsigned mouseMessage);
    void ShowAbout();
    void CloseAbout();

    app::OperatorCommands* commands_ = nullptr;
    bool hasTray_ = false;  // without a notification area the window is the way in
    std::unique_ptr<ProgramPictures> pictures_;
    std::unique_ptr<Win32MainWindow> window_;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<ClosingBox> closingBox_;
    std::unique_ptr<AboutBox> aboutBox_;  // made when first asked for, then hidden and shown
};

}  // namespace zelmar::ui_win32
