#include "ui/window_view.h"

#include <QApplication>

#include "platform/qt/windows1252.h"
#include "ui/boxes.h"
#include "ui/main_window.h"
#include "ui/pictures.h"

namespace zelmar::ui {

WindowView::WindowView() = default;

WindowView::~WindowView() = default;

void WindowView::attach(Session& session, app::OperatorCommands& commands) {
    commands_ = &commands;
    // The window hides and shows; only the unload ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    hasTray_ = QSystemTrayIcon::isSystemTrayAvailable();
    window_ = std::make_unique<MainWindow>(session, commands);
    window_->setHidesOnMinimise(hasTray_);
    closingBox_ = new ClosingBox(window_.get());
    connect(window_.get(), &MainWindow::aboutRequested, this, &WindowView::ShowAbout);

    tray_ = std::make_unique<QSystemTrayIcon>(IdlePicture());
    tray_->setObjectName(QStringLiteral("TrayIcon"));
    tray_->setContextMenu(window_->fileMenu());  // "T&ermina Zelmar1" is its default item
    connect(tray_.get(), &QSystemTrayIcon::activated, this, &WindowView::OnTrayActivated);
}

void WindowView::startWith(const std::function<void()>& formStartUp) {
    {
        const SplashBox splash;  // loaded with its texts, never shown
        formStartUp();
    }
    start();
}

void WindowView::start() {
    window_->refresh();
    if (!hasTray_) restoreWindow();
}

void WindowView::restoreWindow() {
    commands_->RestoreWindow();
    window_->refresh();
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

void WindowView::OnTrayActivated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) restoreWindow();
}

void WindowView::ShowAbout() {
    AboutBox about(window_.get());
    about.exec();
}

void WindowView::ShowTrayIcon(bool busy, const std::string& tip) {
    if (!tray_) return;
    tray_->setIcon(busy ? BusyPicture() : IdlePicture());
    tray_->setToolTip(platform::FromWindows1252(tip));
    if (hasTray_) tray_->show();
    if (window_) window_->refresh();
}

void WindowView::RemoveTrayIcon() {
    if (tray_) tray_->hide();
}

void WindowView::HideWindow() {
    if (window_) window_->hide();
}

void WindowView::ShowClosingBox(bool shown) {
    if (!closingBox_) return;
    if (shown) {
        closingBox_->show();
        closingBox_->raise();
    } else {
        closingBox_->hide();
    }
}

}  // namespace zelmar::ui
