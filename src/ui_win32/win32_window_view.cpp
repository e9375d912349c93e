#include "ui_win32/win32_window_view.h"

#include "ui_win32/win32_boxes.h"
#include "ui_win32/win32_main_window.h"
#include "ui_win32/win32_pictures.h"
#include "ui_win32/win32_tray_icon.h"

namespace zelmar::ui_win32 {

Win32WindowView::Win32WindowView() = default;

Win32WindowView::~Win32WindowView() = default;

void Win32WindowView::attach(Session& session, app::OperatorCommands& commands) {
    commands_ = &commands;
    hasTray_ = TrayIcon::Available();
    pictures_ = std::make_unique<ProgramPictures>();
    window_ = std::make_unique<Win32MainWindow>(
        session, commands, *pictures_,
        Win32MainWindow::Events{
            .showAbout = [this] { ShowAbout(); },
            .trayMessage = [this](UINT mouseMessage) { OnTrayMessage(mouseMessage); },
            .notificationAreaRestarted = [this] { tray_->showAgain(); }});
    window_->setHidesOnMinimise(hasTray_);
    closingBox_ = std::make_unique<ClosingBox>(window_->hwnd());
    tray_ = std::make_unique<TrayIcon>(window_->hwnd(), Win32MainWindow::kTrayMessage);
}

void Win32WindowView::startWith(const std::function<void()>& formStartUp) {
    {
        const SplashBox splash;  // loaded with its texts, never shown
        formStartUp();
    }
    start();
}

void Win32WindowView::start() {
    window_->refresh();
    if (!hasTray_) restoreWindow();
}

void Win32WindowView::restoreWindow() {
    commands_->RestoreWindow();
    window_->refresh();
    ShowWindow(window_->hwnd(), SW_RESTORE);
    ShowWindow(window_->hwnd(), SW_SHOW);
    SetForegroundWindow(window_->hwnd());
}

void Win32WindowView::OnTrayMessage(unsigned mouseMessage) {
    if (mouseMessage == WM_LBUTTONDBLCLK) restoreWindow();
    if (mouseMessage == WM_RBUTTONUP) window_->popUpFileMenu();
}

// Modal to the operator without a loop of its own: the main window takes no input while the
// box is up, and the program's loop carries on.
void Win32WindowView::ShowAbout() {
    if (!aboutBox_) {
        aboutBox_ = std::make_unique<AboutBox>(window_->hwnd(), pictures_->idleSmall());
        aboutBox_->setOnClose([this] { CloseAbout(); });
    }
    EnableWindow(window_->hwnd(), FALSE);
    aboutBox_->show();
}

void Win32WindowView::CloseAbout() {
    EnableWindow(window_->hwnd(), TRUE);  // before the hide, so the main window is activated
    aboutBox_->hide();
}

void Win32WindowView::ShowTrayIcon(bool busy, const std::string& tip) {
    if (!tray_) return;
    if (hasTray_) tray_->show(busy ? pictures_->busySmall() : pictures_->idleSmall(), tip);
    window_->refresh();
}

void Win32WindowView::RemoveTrayIcon() {
    if (tray_) tray_->remove();
}

void Win32WindowView::HideWindow() {
    if (window_) ShowWindow(window_->hwnd(), SW_HIDE);
}

void Win32WindowView::ShowClosingBox(bool shown) {
    if (!closingBox_) return;
    if (shown) {
        closingBox_->show();
    } else {
        closingBox_->hide();
    }
}

}  // namespace zelmar::ui_win32
