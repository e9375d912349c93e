#include "ui_win32/win32_main_window.h"

#include "window/operator_window.h"

namespace zelmar::ui_win32 {
namespace {

using window::Kind;

constexpr UINT_PTR kRefreshTimer = 1;
// Not WS_CLIPCHILDREN: a frame paints only its outline, the window's own background fills it.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

const window::WindowDescription& Description() {
    return window::OperatorWindow();
}

// The list item's text: an editable list's own text changes only after the selection message.
std::string ItemText(HWND list) {
    const LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return {};
    std::string text(static_cast<std::size_t>(SendMessageA(list, CB_GETLBTEXTLEN, index, 0)) + 1,
                     '\0');
    SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(text.size() - 1);
    return text;
}

}  // namespace

Win32MainWindow::Win32MainWindow(Session& session, app::OperatorCommands& commands,
                                 const ProgramPictures& pictures, Events events)
    : model_(session, commands), events_(std::move(events)) {
    platform::WindowPlace place{.style = kStyle,
                                .clientWidth = Description().width,
                                .clientHeight = Description().height,
                                .menu = BuildMenus()};
    hwnd_ = platform::CreateMessageWindow(Description().caption.c_str(), place, this);
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(pictures.idleLarge()));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(pictures.idleSmall()));
    controls_ = CreateControls(hwnd_, Description(), fonts_, pictures.busyLarge());
    notificationAreaCreated_ = RegisterWindowMessageA("TaskbarCreated");
    model_.setRenderer({.refresh = [this] { refresh(); }, .showAbout = events_.showAbout});
    refresh();
}

Win32MainWindow::~Win32MainWindow() {
    DestroyWindow(hwnd_);  // the menu bar and the controls go with it
}

HMENU Win32MainWindow::BuildMenus() {
    HMENU bar = CreateMenu();
    HMENU menu = nullptr;
    int id = kFirstControlId;
    for (const window::Control& control : Description().controls) {
        const int controlId = id++;
        if (control.kind == Kind::kMenu) {
            menu = CreatePopupMenu();
            AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu),
                        control.caption.c_str());
            if (!fileMenu_) fileMenu_ = menu;  // the first: the notification icon's menu too
        } else if (control.kind == Kind::kMenuItem) {
            AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(controlId), control.caption.c_str());
            if (control.defaultItem) SetMenuDefaultItem(menu, static_cast<UINT>(controlId), FALSE);
        }
    }
    return bar;
}

void Win32MainWindow::refresh() {
    model_.FollowProgramChanges();
    applying_ = true;
    for (const ControlWindow& control : controls_) {
        ApplyState(control, model_.StateOf(*control.control));
    }
    applying_ = false;
    if (model_.RefreshesOnTimer() && !timerRunning_) {
        timerRunning_ = SetTimer(hwnd_, kRefreshTimer, window::kRefreshIntervalMs, nullptr) != 0;
    } else if (!model_.RefreshesOnTimer() && timerRunning_) {
        KillTimer(hwnd_, kRefreshTimer);
        timerRunning_ = false;
    }
}

void Win32MainWindow::popUpFileMenu() {
    POINT pointer{};
    GetCursorPos(&pointer);
    SetForegroundWindow(hwnd_);  // so that a click elsewhere closes the menu
    TrackPopupMenu(fileMenu_, TPM_RIGHTBUTTON, pointer.x, pointer.y, 0, hwnd_, nullptr);
    PostMessageA(hwnd_, WM_NULL, 0, 0);
}

LRESULT Win32MainWindow::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return 0;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(
                ControlBackground(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_DRAWITEM:
            DrawShape(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_TIMER:
            if (wParam == kRefreshTimer) refresh();
            return 0;
        case WM_SIZE:
            OnSize(wParam);
            return 0;
        case WM_CLOSE:
            // The close box ends the program like the menu entry; the unload hides the window.
            model_.Clicked(*Description().find("m_esci"));
            return 0;
        case kTrayMessage:
            if (events_.trayMessage) events_.trayMessage(LOWORD(lParam));
            return 0;
        default:
            if (message == notificationAreaCreated_ && events_.notificationAreaRestarted) {
                events_.notificationAreaRestarted();
            }
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void Win32MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int index = LOWORD(wParam) - kFirstControlId;
    const auto& controls = Description().controls;
    if (applying_ || index < 0 || index >= static_cast<int>(controls.size())) return;
    const window::Control& control = controls[static_cast<std::size_t>(index)];
    if (control.kind == Kind::kMenuItem) {
        model_.Clicked(control);
    } else {
        OnControlNotification(control, reinterpret_cast<HWND>(lParam), HIWORD(wParam));
    }
}

void Win32MainWindow::OnControlNotification(const window::Control& control, HWND hwnd,
                                            int notification) {
    switch (control.kind) {
        case Kind::kCheckBox:
            if (notification == BN_CLICKED) {
                model_.Ticked(control, SendMessageA(hwnd, BM_GETCHECK, 0, 0) != BST_CHECKED);
            }
            break;
        case Kind::kRadio:
        case Kind::kButton:
            if (notification == BN_CLICKED) model_.Clicked(control);
            break;
        case Kind::kEdit:
            if (notification == EN_CHANGE) model_.Edited(control, WindowText(hwnd));
            break;
        case Kind::kList:
            if (notification == CBN_SELCHANGE) {
                model_.Chosen(control, static_cast<int>(SendMessageA(hwnd, CB_GETCURSEL, 0, 0)));
            }
            break;
        case Kind::kEditableList:
            if (notification == CBN_EDITCHANGE) model_.Edited(control, WindowText(hwnd));
            if (notification == CBN_SELCHANGE) model_.Edited(control, ItemText(hwnd));
            break;
        default:
            break;
    }
}

void Win32MainWindow::OnSize(WPARAM kind) {
    // The first WM_SIZE comes while the window is being created, before its controls.
    if (controls_.empty() || (kind != SIZE_MINIMIZED && kind != SIZE_RESTORED)) return;
    const bool minimised = kind == SIZE_MINIMIZED;
    model_.WindowStateChanged(minimised, IsWindowVisible(hwnd_) != FALSE);
    if (minimised && hidesOnMinimise_) ShowWindow(hwnd_, SW_HIDE);
    refresh();
}

}  // namespace zelmar::ui_win32
