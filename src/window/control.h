#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/options.h"
#include "common/window_texts.h"

namespace zelmar::window {

// What a control is; each renderer maps a kind to a widget of its own toolkit.
enum class Kind {
    kFrame,  // a titled group box around other controls
    kLabel,
    kCheckBox,
    kRadio,
    kEdit,  // a text the operator types
    kText,  // a text the program writes, read-only
    kButton,
    kList,          // a drop-down list: one of its items; its caption shows while none is chosen
    kEditableList,  // a drop-down list whose text may also be typed
    kShape,         // a coloured square: the slot's port found or not
    kPicture,       // the busy picture, kept hidden
    kMenu,          // a menu of the menu bar
    kMenuItem,
};

// When a control is enabled or shown. A control inside a frame is enabled only while its frame
// is, so a rule names only what the control adds.
enum class When {
    kAlways,
    kNever,
    kConfigurationOpen,    // the last slot box clicked was unticked: settings may change
    kConfigurationLocked,  // the last slot box clicked was ticked: the register may be used
    kTestReceiptAllowed,   // locked, and no test receipt waiting for the job cycle
    kNetwork,              // the register is reached over TCP
    kSlotSelectable,       // the slot's port was found at start-up
    kTimerControls,        // poll mode: the interval may be set
    kRefundDiscounts,      // the register takes discounts on refunds (not an RT model)
};

// What the operator's click on a control runs. Edits, lists and plain option boxes have none:
// they store their value in the option they show.
enum class Command {
    kNone,
    kServeSlot,
    kKeystrokeInput,
    kRegisterLineInput,
    kSelectPollMode,
    kSelectFastMode,
    kSelectSerial,
    kSelectNetwork,
    kSetPollInterval,
    kApplyBaudRate,
    kCheckAddress,
    kPing,
    kPrintTestReceipt,
    kCancelReceipt,
    kOpenManual,
    kExit,
    kShowAbout,
    kCloseBox,  // closes the box the control is in
};

// In pixels; a control's position is in its frame's client coordinates, a frame's in the
// window's (below the menu bar).
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
};

// One control: what it is, where, what it says and what it shows. The name is the control's
// historical name, kept as the widget's object name. Texts are Windows-1252 bytes.
struct Control {
    std::string name{};
    Kind kind = Kind::kLabel;
    std::string frame{};  // the frame or menu it sits in; empty: the window itself
    std::string caption{};
    std::string tip{};
    Rect rect{};  // a width too small for the texts below is widened to fit them
    std::vector<std::string> items{};  // a list's entries; only the index is stored
    std::vector<std::string> shows{};  // other texts it must show whole (the longest ones)
    Command command = Command::kNone;
    When enabledWhen = When::kAlways;
    When shownWhen = When::kAlways;
    bool defaultItem = false;  // the menu item or button that Enter or a double-click picks
    bool bold = false;
    int slot = 0;  // 1..4: the slot box, shape and dump text of that slot
    // What it shows, when it shows a value: a check box or radio is ticked while the option
    // holds `flagValue`.
    bool Options::*flag = nullptr;
    bool flagValue = true;
    std::string Options::*optionText = nullptr;
    int Options::*choice = nullptr;
    std::string WindowTexts::*windowText = nullptr;
};

// A window or box: its caption, the size of its client area and its controls, frames before
// what they hold, menus before their items.
struct WindowDescription {
    std::string name{};
    std::string caption{};
    int width = 0;
    int height = 0;
    std::vector<Control> controls{};

    // The control of that name; null when the window has none.
    const Control* find(std::string_view controlName) const;
};

}  // namespace zelmar::window
