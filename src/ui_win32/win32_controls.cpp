#include "ui_win32/win32_controls.h"

#include <commctrl.h>

#include "window/text_fit.h"

namespace zelmar::ui_win32 {
namespace {

using window::Kind;

// A drop-down list's height when open; the closed box takes the font's height.
constexpr int kOpenListHeight = 200;

struct WindowClass {
    const char* name;
    DWORD style;
    DWORD exStyle = 0;
};

WindowClass ClassOf(const window::Control& control) {
    constexpr DWORD kLine = SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE | SS_NOTIFY;
    switch (control.kind) {
        case Kind::kFrame:
            return {WC_BUTTONA, BS_GROUPBOX | WS_CLIPSIBLINGS};
        case Kind::kCheckBox:
            return {WC_BUTTONA, BS_CHECKBOX | WS_TABSTOP};  // ticked by the model only
        case Kind::kRadio:
            return {WC_BUTTONA, BS_RADIOBUTTON | WS_TABSTOP};
        case Kind::kButton:
            return {WC_BUTTONA,
                    static_cast<DWORD>(control.defaultItem ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                        WS_TABSTOP};
        case Kind::kEdit:
            return {WC_EDITA, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case Kind::kText:
            return {WC_EDITA, ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case Kind::kList:
            return {WC_COMBOBOXA, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP};
        case Kind::kEditableList:
            return {WC_COMBOBOXA, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP};
        case Kind::kShape:
            return {WC_STATICA, SS_OWNERDRAW | SS_NOTIFY};
        case Kind::kPicture:
            return {WC_STATICA, SS_ICON};
        default:
            return {WC_STATICA, kLine};
    }
}

bool IsList(Kind kind) {
    return kind == Kind::kList || kind == Kind::kEditableList;
}

// The text a list shows while none of its items is chosen. Only the wide form of the message
// exists.
void SetCueBanner(HWND list, const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int length =
        MultiByteToWideChar(1252, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    if (length > 0) SendMessageA(list, CB_SETCUEBANNER, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

HWND CreateControl(HWND parent, const window::WindowDescription& description,
                   const window::Control& control, int id, HFONT font) {
    const WindowClass windowClass = ClassOf(control);
    window::Rect rect = window::WindowRect(description, control);
    if (IsList(control.kind)) rect.height += kOpenListHeight;
    const char* caption = IsList(control.kind) ? "" : control.caption.c_str();
    HWND hwnd = CreateWindowExA(windowClass.exStyle, windowClass.name, caption,
                                WS_CHILD | windowClass.style, rect.x, rect.y, rect.width,
                                rect.height, parent, reinterpret_cast<HMENU>(INT_PTR{id}),
                                GetModuleHandleA(nullptr), nullptr);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (const std::string& item : control.items) {
        SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    if (control.kind == Kind::kList && !control.caption.empty()) {
        SetCueBanner(hwnd, control.caption);
    }
    return hwnd;
}

HWND CreateTips(HWND owner) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    return CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                           WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

void AddTip(HWND tips, HWND owner, HWND control, const std::string& tip) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every version of the common controls
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(tip.c_str());
    SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

COLORREF ToColorRef(const window::Colour& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

void SetTextIfChanged(HWND hwnd, const std::string& text) {
    if (WindowText(hwnd) != text) SetWindowTextA(hwnd, text.c_str());
}

}  // namespace

WindowFonts::WindowFonts() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    normal_ = CreateFontIndirectA(&metrics.lfMessageFont);
    metrics.lfMessageFont.lfWeight = FW_BOLD;
    bold_ = CreateFontIndirectA(&metrics.lfMessageFont);
}

WindowFonts::~WindowFonts() {
    DeleteObject(normal_);
    DeleteObject(bold_);
}

std::vector<ControlWindow> CreateControls(HWND parent, const window::WindowDescription& description,
                                          const WindowFonts& fonts, HICON busyIcon) {
    std::vector<ControlWindow> windows;
    HWND tips = CreateTips(parent);
    int id = kFirstControlId;
    for (const window::Control& control : description.controls) {
        const int controlId = id++;
        if (control.kind == Kind::kMenu || control.kind == Kind::kMenuItem) continue;
        HWND hwnd = CreateControl(parent, description, control, controlId, fonts.of(control));
        if (!control.tip.empty()) AddTip(tips, parent, hwnd, control.tip);
        if (control.kind == Kind::kPicture) {
            SendMessageA(hwnd, STM_SETICON, reinterpret_cast<WPARAM>(busyIcon), 0);
        }
        windows.push_back({&control, hwnd});
    }
    for (const ControlWindow& w : windows) {
        if (w.control->kind == Kind::kFrame) {
            SetWindowPos(w.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    return windows;
}

void ApplyState(const ControlWindow& w, const window::ControlState& state) {
    const Kind kind = w.control->kind;
    if (IsWindowEnabled(w.hwnd) != (state.enabled ? TRUE : FALSE)) {
        EnableWindow(w.hwnd, state.enabled);
    }
    const bool shown = (GetWindowLongPtrA(w.hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != state.shown) ShowWindow(w.hwnd, state.shown ? SW_SHOWNA : SW_HIDE);
    switch (kind) {
        case Kind::kCheckBox:
        case Kind::kRadio: {
            const WPARAM check = state.checked ? BST_CHECKED : BST_UNCHECKED;
            if (static_cast<WPARAM>(SendMessageA(w.hwnd, BM_GETCHECK, 0, 0)) != check) {
                SendMessageA(w.hwnd, BM_SETCHECK, check, 0);
            }
            break;
        }
        case Kind::kList:
            if (SendMessageA(w.hwnd, CB_GETCURSEL, 0, 0) != state.choice) {
                SendMessageA(w.hwnd, CB_SETCURSEL, static_cast<WPARAM>(state.choice), 0);
            }
            break;
        case Kind::kShape: {
            const auto fill = static_cast<LONG_PTR>(ToColorRef(state.fill));
            if (GetWindowLongPtrA(w.hwnd, GWLP_USERDATA) != fill) {
                SetWindowLongPtrA(w.hwnd, GWLP_USERDATA, fill);
                InvalidateRect(w.hwnd, nullptr, FALSE);
            }
            break;
        }
        case Kind::kEdit:
        case Kind::kText:
        case Kind::kEditableList:
        case Kind::kButton:
            SetTextIfChanged(w.hwnd, state.text);
            break;
        default:
            break;
    }
}

HBRUSH ControlBackground(HDC dc, HWND control) {
    char className[16] = {};
    GetClassNameA(control, className, sizeof(className));
    const bool whiteText = lstrcmpiA(className, WC_EDITA) == 0 && IsWindowEnabled(control);
    const int colour = whiteText ? COLOR_WINDOW : COLOR_3DFACE;
    SetBkColor(dc, GetSysColor(colour));
    return GetSysColorBrush(colour);
}

void DrawShape(const DRAWITEMSTRUCT& item) {
    HBRUSH fill =
        CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(item.hwndItem, GWLP_USERDATA)));
    FillRect(item.hDC, &item.rcItem, fill);
    FrameRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DeleteObject(fill);
}

std::string WindowText(HWND hwnd) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace zelmar::ui_win32
