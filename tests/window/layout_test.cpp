#include <gtest/gtest.h>

#include <vector>

#include "window/boxes.h"
#include "window/operator_window.h"
#include "window/text_fit.h"

namespace zelmar::window {
namespace {

std::vector<WindowDescription> AllWindows() {
    return {OperatorWindow(), AboutBox(), SplashBox(), ClosingBox()};
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

bool Placed(const Control& c) {
    return c.kind != Kind::kMenu && c.kind != Kind::kMenuItem;
}

// A widened box must still sit inside its frame and clear of its neighbours.
TEST(WindowLayout, ControlsStayInsideTheirFrameAndClearOfEachOther) {
    for (const WindowDescription& window : AllWindows()) {
        for (const Control& c : window.controls) {
            if (!Placed(c)) continue;
            SCOPED_TRACE(window.name + " " + c.name);
            const Rect rect = WindowRect(window, c);
            const Control* frame = window.find(c.frame);
            const Rect outer =
                frame ? WindowRect(window, *frame) : Rect{0, 0, window.width, window.height};
            EXPECT_GE(rect.x, outer.x);
            EXPECT_GE(rect.y, outer.y);
            EXPECT_LE(rect.right(), outer.right());
            EXPECT_LE(rect.bottom(), outer.bottom());
            for (const Control& other : window.controls) {
                if (&other == &c || !Placed(other) || other.frame != c.frame) continue;
                EXPECT_FALSE(Overlap(FittedRect(c), FittedRect(other))) << other.name;
            }
        }
    }
}

}  // namespace
}  // namespace zelmar::window
