#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <memory>
#include <string>

#include "app/form_view.h"
#include "app/operator_commands.h"
#include "common/session.h"

namespace zelmar::ui {

class ClosingBox;
class MainWindow;

// The window side of the main form: the main window, the notification icon and the closing
// box. The form is built with this view before the window exists (the form and the commands
// need each other), so attach() builds the widgets once both are there.
class WindowView : public QObject, public app::OperatorWindow {
    Q_OBJECT
  public:
    WindowView();
    ~WindowView() override;

    void attach(Session& session, app::OperatorCommands& commands) override;
    void startWith(const std::function<void()>& formStartUp) override;
    MainWindow* window() const { return window_.get(); }

    // After the form has loaded: the widgets take the loaded settings (a ticked slot box is a
    // click on it). Without a notification area the window is shown at once.
    void start();
    // The notification icon's double-click: refresh the dump texts and show the window.
    void restoreWindow();

    void ShowTrayIcon(bool busy, const std::string& tip) override;
    void RemoveTrayIcon() override;
    void HideWindow() override;
    void ShowClosingBox(bool shown) override;

  private:
    void OnTrayActivated(QSystemTrayIcon::ActivationReason reason);
    void ShowAbout();

    app::OperatorCommands* commands_ = nullptr;
    bool hasTray_ = false;  // without a notification area the window is the way in
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    ClosingBox* closingBox_ = nullptr;  // owned by the window
};

}  // namespace zelmar::ui
