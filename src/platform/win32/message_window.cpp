#include "platform/win32/message_window.h"

namespace zelmar::platform {
namespace {

constexpr const char* kClassName = "Zelmar1Window";

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* handler = reinterpret_cast<MessageHandler*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!handler) return DefWindowProcA(hwnd, message, wParam, lParam);
    return handler->Handle(hwnd, message, wParam, lParam);
}

void RegisterOnce() {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kClassName, &existing)) return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);
}

}  // namespace

HWND CreateMessageWindow(const char* caption, const WindowPlace& place, MessageHandler* handler) {
    RegisterOnce();
    RECT outer{0, 0, place.clientWidth, place.clientHeight};
    AdjustWindowRectEx(&outer, place.style, place.menu != nullptr, place.exStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    if (place.centred) {
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        x = work.left + (work.right - work.left - width) / 2;
        y = work.top + (work.bottom - work.top - height) / 2;
    }
    return CreateWindowExA(place.exStyle, kClassName, caption, place.style, x, y, width, height,
                           place.owner, place.menu, GetModuleHandleA(nullptr), handler);
}

}  // namespace zelmar::platform
