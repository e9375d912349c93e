#include "window/window_model.h"

#include "window/operator_window.h"

namespace zelmar::window {
namespace {

std::size_t SlotIndex(const Control& control) {
    return static_cast<std::size_t>(control.slot - 1);
}

}  // namespace

WindowModel::WindowModel(Session& session, app::OperatorCommands& commands)
    : session_(session), commands_(commands) {}

void WindowModel::FollowProgramChanges() {
    for (int slot = 1; slot <= 4; ++slot) {
        const auto i = static_cast<std::size_t>(slot - 1);
        if (slotBoxTicked_[i] != session_.options.SlotServed[i]) {
            ServeSlot(slot, session_.options.SlotServed[i]);
        }
    }
}

void WindowModel::ServeSlot(int slot, bool ticked) {
    slotBoxTicked_[static_cast<std::size_t>(slot - 1)] = ticked;
    commands_.SetSlotServed(slot, ticked);
    configurationLocked_ = ticked;  // only the box clicked last counts
}

bool WindowModel::Holds(When when, const Control& control) const {
    const Options& options = session_.options;
    switch (when) {
        case When::kAlways:
            return true;
        case When::kNever:
            return false;
        case When::kConfigurationOpen:
            return !configurationLocked_;
        case When::kConfigurationLocked:
            return configurationLocked_;
        case When::kTestReceiptAllowed:
            return configurationLocked_ && session_.texts.TestReceiptEnabled;
        case When::kNetwork:
            return options.UseNetwork;
        case When::kSlotSelectable:
            return options.SlotSelectable[SlotIndex(control)];
        case When::kTimerControls:
            return session_.texts.timerControlsVisible;
        case When::kRefundDiscounts:
            return options.DiscountsOnRefundShown;
    }
    return true;
}

bool WindowModel::Enabled(const Control& control) const {
    if (!Holds(control.enabledWhen, control)) return false;
    const Control* frame = OperatorWindow().find(control.frame);
    return !frame || Enabled(*frame);
}

std::string WindowModel::TextOf(const Control& control) const {
    if (auto verdict = verdictCaptions_.find(control.name); verdict != verdictCaptions_.end()) {
        return verdict->second;
    }
    if (control.optionText) return session_.options.*control.optionText;
    if (control.windowText) return session_.texts.*control.windowText;
    if (control.kind == Kind::kText && control.slot > 0) {
        return session_.texts.ReadState[SlotIndex(control)];
    }
    return control.caption;
}

ControlState WindowModel::StateOf(const Control& control) const {
    ControlState state;
    state.enabled = Enabled(control);
    state.shown = Holds(control.shownWhen, control);
    state.text = TextOf(control);
    if (control.flag) {
        state.checked = session_.options.*control.flag == control.flagValue;
    } else if (control.kind == Kind::kCheckBox && control.slot > 0) {
        state.checked = slotBoxTicked_[SlotIndex(control)];
    }
    if (control.choice) state.choice = session_.options.*control.choice;
    if (control.kind == Kind::kShape) {
        state.fill = session_.texts.portShapeGreen[SlotIndex(control)] ? kPortFoundColour
                                                                       : kShapeDesignColour;
    }
    return state;
}

void WindowModel::Clicked(const Control& control) {
    // A radio already selected does nothing: its command switches the mode over.
    if (control.kind == Kind::kRadio && session_.options.*control.flag == control.flagValue) return;
    Run(control);
}

void WindowModel::Ticked(const Control& control, bool ticked) {
    switch (control.command) {
        case Command::kServeSlot:
            ServeSlot(control.slot, ticked);
            break;
        case Command::kKeystrokeInput:
            commands_.SetKeystrokeInput(ticked);
            break;
        case Command::kRegisterLineInput:
            commands_.SetRegisterLineInput(ticked);
            break;
        default:
            session_.options.*control.flag = ticked;
            break;
    }
    if (renderer_.refresh) renderer_.refresh();
}

void WindowModel::Edited(const Control& control, const std::string& text) {
    session_.options.*control.optionText = text;
}

void WindowModel::Chosen(const Control& control, int index) {
    session_.options.*control.choice = index;
}

void WindowModel::WindowStateChanged(bool minimised, bool visible) {
    if (minimised) {
        commands_.MinimiseWindow();
    } else if (!session_.texts.WindowShown && visible) {
        commands_.RestoreWindow();  // back from the task bar
    }
}

app::OperatorCommands::CaptionSetter WindowModel::CaptionOf(const Control& control) {
    return [this, &control](const std::string& caption) {
        if (caption == control.caption) {
            verdictCaptions_.erase(control.name);
        } else {
            verdictCaptions_[control.name] = caption;
        }
        if (renderer_.refresh) renderer_.refresh();
    };
}

void WindowModel::Run(const Control& control) {
    switch (control.command) {
        case Command::kSelectPollMode:
            commands_.SelectPollMode();
            break;
        case Command::kSelectFastMode:
            commands_.SelectFastMode();
            break;
        case Command::kSelectSerial:
            commands_.SelectSerial();
            break;
        case Command::kSelectNetwork:
            commands_.SelectNetwork();
            break;
        case Command::kSetPollInterval:
            commands_.SetPollInterval();
            break;
        case Command::kApplyBaudRate:
            commands_.ApplyBaudRate();
            break;
        case Command::kCheckAddress:
            commands_.CheckRegisterAddress(control.caption, CaptionOf(control));
            break;
        case Command::kPing:
            commands_.PingRegister(control.caption, CaptionOf(control));
            break;
        case Command::kPrintTestReceipt:
            commands_.PrintTestReceipt();
            break;
        case Command::kCancelReceipt:
            commands_.CancelReceipt();
            break;
        case Command::kOpenManual:
            commands_.OpenManual();
            break;
        case Command::kExit:
            commands_.Exit();
            break;
        case Command::kShowAbout:
            if (renderer_.showAbout) renderer_.showAbout();
            return;
        default:
            return;
    }
    if (renderer_.refresh) renderer_.refresh();
}

}  // namespace zelmar::window
