#pragma once

#include <QWidget>

#include "window/control.h"
#include "window/window_model.h"

namespace zelmar::ui {

// The Qt widget of one control of a window description, placed in `parent` (its frame, or the
// window's client area) with its name, caption, tip, items and fitted size.
QWidget* CreateControl(const window::Control& control, QWidget* parent);

// Builds every control of `description` but the menus into `client`; frames hold their
// controls. Returns each control's widget, in the description's order.
std::vector<std::pair<const window::Control*, QWidget*>> CreateControls(
    const window::WindowDescription& description, QWidget* client);

// Shows `state` without emitting any of the widget's signals: only the operator's actions
// reach the model.
void ApplyState(QWidget* widget, const window::Control& control, const window::ControlState& state);

}  // namespace zelmar::ui
