#include "window/control.h"

namespace zelmar::window {

const Control* WindowDescription::find(std::string_view controlName) const {
    for (const Control& c : controls) {
        if (c.name == controlName) return &c;
    }
    return nullptr;
}

}  // namespace zelmar::window
