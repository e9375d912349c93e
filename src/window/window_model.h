#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>

#include "app/operator_commands.h"
#include "common/session.h"
#include "window/colours.h"
#include "window/control.h"

namespace zelmar::window {

// What a renderer shows for one control right now.
struct ControlState {
    bool enabled = true;
    bool shown = true;
    bool checked = false;  // a check box or radio
    int choice = -1;       // a list's item; -1: none, the caption shows
    std::string text;      // a box's contents, or the caption; Windows-1252
    Colour fill;           // a shape
};

// The operator window's behaviour, whichever toolkit draws it: what each control shows, when
// it is enabled, and what the operator's clicks, ticks, choices and typing do. It holds no
// widget; a renderer asks for every control's state when it refreshes and hands every
// operator action here.
class WindowModel {
  public:
    WindowModel(Session& session, app::OperatorCommands& commands);

    // What the model asks of its renderer: to show the states again (after a command, and
    // while a button's caption shows a verdict), and to show the about box.
    struct Renderer {
        std::function<void()> refresh;
        std::function<void()> showAbout;
    };
    void setRenderer(Renderer renderer) { renderer_ = std::move(renderer); }

    // First in each refresh: a slot box whose value the program changed is clicked, as the
    // operator's click would, so the poll and the frames follow it. Setting the value a box
    // already has is no click.
    void FollowProgramChanges();
    ControlState StateOf(const Control& control) const;
    // While the window is shown its texts are refreshed every kRefreshIntervalMs.
    bool RefreshesOnTimer() const { return session_.texts.WindowShown; }

    // The operator's actions.
    void Clicked(const Control& control);  // a button, a radio, a menu item
    void Ticked(const Control& control, bool ticked);
    void Edited(const Control& control, const std::string& text);
    void Chosen(const Control& control, int index);
    // The window was minimised, or came back some other way than restoreWindow (the task bar).
    void WindowStateChanged(bool minimised, bool visible);

  private:
    void ServeSlot(int slot, bool ticked);
    void Run(const Control& control);
    bool Holds(When when, const Control& control) const;
    bool Enabled(const Control& control) const;
    std::string TextOf(const Control& control) const;
    app::OperatorCommands::CaptionSetter CaptionOf(const Control& control);

    Session& session_;
    app::OperatorCommands& commands_;
    Renderer renderer_;
    std::array<bool, 4> slotBoxTicked_{};                 // what the slot boxes show
    bool configurationLocked_ = false;                    // the last slot box clicked was ticked
    std::map<std::string, std::string> verdictCaptions_;  // buttons showing a verdict
};

}  // namespace zelmar::window
