// The Win32 window over the main form's logic on virtual time. Under Wine it needs a display
// driver: X11, or the null driver (HKCU\Software\Wine\Drivers, Graphics = null) without one.
#include "ui_win32/win32_window_view.h"

#include <gtest/gtest.h>

#include <string>

#include "app/form_fixture.h"
#include "ui_win32/win32_controls.h"
#include "ui_win32/win32_main_window.h"
#include "window/boxes.h"
#include "window/operator_window.h"
#include "window/text_fit.h"

namespace zelmar::ui_win32 {
namespace {

using window::Kind;

class Win32WindowTest : public app::testing::CommandsTest {
  protected:
    Win32WindowTest() { view.attach(session, commands); }
    void SetUp() override {
        ASSERT_NE(view.window()->hwnd(), nullptr)
            << "no window driver: without a display, Wine needs the null driver "
               "(HKCU\\Software\\Wine\\Drivers, Graphics = null, set before its first window)";
    }

    // A control's id: its index in the description, past the system's ids.
    int Id(const std::string& name) {
        const auto& controls = window::OperatorWindow().controls;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (controls[i].name == name) return kFirstControlId + static_cast<int>(i);
        }
        return 0;
    }
    HWND Control(const std::string& name) { return GetDlgItem(view.window()->hwnd(), Id(name)); }
    std::string Text(const char* name) { return WindowText(Control(name)); }
    bool Enabled(const char* name) { return IsWindowEnabled(Control(name)) != FALSE; }

    Win32WindowView view;
};

TEST_F(Win32WindowTest, ShowsTheSessionsTextsInItsControls) {
    session.texts.SerialNumberShown = "72MAB123456";
    session.texts.JobStatus = "ZELMAR1 TERMINATO : TUTTO OK";
    session.options.ConnectTimeoutChoice = 2;
    view.restoreWindow();
    EXPECT_TRUE(IsWindowVisible(view.window()->hwnd()));
    EXPECT_EQ(WindowText(view.window()->hwnd()), window::OperatorWindow().caption);
    EXPECT_EQ(Text("txtEcrMatr"), "72MAB123456");
    EXPECT_EQ(Text("Text2"), "ZELMAR1 TERMINATO : TUTTO OK");
    EXPECT_EQ(Text("Text4"), "DUMP NON ESEGUITO");
    EXPECT_EQ(Text("CMBFile"), " Esegui Test");
    EXPECT_EQ(SendMessageA(Control("cboToutConn"), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(Control("Combo1"), CB_GETCOUNT, 0, 0), 3);
}

// A click goes through the window model: ticking a slot box locks the configuration frames
// and what they hold, and opens the test and cancel buttons.
TEST_F(Win32WindowTest, ClicksRunTheModelsRules) {
    session.options.UseNetwork = true;
    view.start();
    EXPECT_TRUE(Enabled("Frame5") && Enabled("txtRemoteIP"));
    EXPECT_FALSE(Enabled("AnnullaOperaz"));

    SendMessageA(Control("Check1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(session.options.SlotServed[0]);
    EXPECT_EQ(SendMessageA(Control("Check1"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(Enabled("Frame5") || Enabled("txtRemoteIP"));
    EXPECT_TRUE(Enabled("chbTrace"));  // beside the frames, never locked
    EXPECT_TRUE(Enabled("AnnullaOperaz") && Enabled("CMBFile"));

    SendMessageA(Control("Check1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(Enabled("Frame5") && Enabled("txtRemoteIP"));
    EXPECT_FALSE(session.options.SlotServed[0]);
}

TEST_F(Win32WindowTest, TypingReachesTheOptions) {
    SetWindowTextA(Control("txtRemotePort"), "9102");
    EXPECT_EQ(session.options.RegisterPort, "9102");
}

// Minimised, the window stops its texts (and hides where there is a notification area); the
// icon's double-click brings it back with fresh texts.
TEST_F(Win32WindowTest, MinimiseAndTheIconsDoubleClick) {
    HWND hwnd = view.window()->hwnd();
    view.restoreWindow();
    ShowWindow(hwnd, SW_MINIMIZE);
    EXPECT_FALSE(session.texts.WindowShown);

    form.state().ReadPending = {false, true, true, true};
    SendMessageA(hwnd, Win32MainWindow::kTrayMessage, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(session.texts.WindowShown);
    EXPECT_TRUE(IsWindowVisible(hwnd) && !IsIconic(hwnd));
    EXPECT_EQ(Text("Text4"), "DUMP ESEGUITO");
}

// The about box keeps the operator out of the main window without a loop of its own: the
// program's loop carries on while it is up.
TEST_F(Win32WindowTest, AboutBoxHoldsTheWindowUntilItsOkButton) {
    view.restoreWindow();
    HWND hwnd = view.window()->hwnd();
    const window::WindowDescription about = window::AboutBox();
    SendMessageA(hwnd, WM_COMMAND, static_cast<WPARAM>(Id("m_info")), 0);
    HWND box = FindWindowA(nullptr, about.caption.c_str());
    ASSERT_TRUE(box && IsWindowVisible(box));
    EXPECT_FALSE(IsWindowEnabled(hwnd));

    const int okIndex = static_cast<int>(about.controls.size()) - 1;  // cmdOK, the last
    SendMessageA(GetDlgItem(box, kFirstControlId + okIndex), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_TRUE(IsWindowEnabled(hwnd));
}

// The close box runs the unload, which ends the program; the window itself stays until then.
TEST_F(Win32WindowTest, CloseBoxEndsTheProgram) {
    view.restoreWindow();
    SendMessageA(view.window()->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(IsWindow(view.window()->hwnd()));
}

// The room a control gives its text, with the system's metrics.
int TextRoom(HWND hwnd, Kind kind) {
    RECT room{};
    if (kind == Kind::kEdit || kind == Kind::kText) {
        SendMessageA(hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
        return room.right - room.left;
    }
    if (kind == Kind::kList || kind == Kind::kEditableList) {
        COMBOBOXINFO list{};
        list.cbSize = sizeof(list);
        GetComboBoxInfo(hwnd, &list);
        return list.rcItem.right - list.rcItem.left;
    }
    GetClientRect(hwnd, &room);
    const bool box = kind == Kind::kCheckBox || kind == Kind::kRadio;
    return room.right - (box ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0);
}

int TextWidth(HWND hwnd, const std::string& text) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(hwnd, dc);
    return size.cx;
}

TEST_F(Win32WindowTest, EveryControlShowsItsLongestTextsWhole) {
    for (const window::Control& control : window::OperatorWindow().controls) {
        if (control.kind == Kind::kFrame || control.kind == Kind::kMenu ||
            control.kind == Kind::kMenuItem) {
            continue;
        }
        HWND hwnd = Control(control.name);
        for (const std::string& text : window::TextsShown(control)) {
            EXPECT_LE(TextWidth(hwnd, text), TextRoom(hwnd, control.kind))
                << control.name << ": " << text;
        }
    }
}

}  // namespace
}  // namespace zelmar::ui_win32
