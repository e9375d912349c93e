#include "window/text_fit.h"

#include <algorithm>

namespace zelmar::window {
namespace {

// Advance classes of the widest window font, rounded up: 5, 8, 9 and 12 pixels.
constexpr std::string_view kNarrow = " !'(),-./:;IJ[\\]`fijlrt|";
constexpr std::string_view kWide = "#%+<=>@MW^mw~";

int CharacterWidth(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (kNarrow.find(c) != std::string_view::npos) return 5;
    if (byte >= 0x80 || kWide.find(c) != std::string_view::npos) return 12;
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) return 8;
    return 9;
}

// Bold letters are up to a fifth wider.
constexpr int kBoldWidening = 5;

bool Fits(Kind kind) {
    return kind != Kind::kShape && kind != Kind::kPicture && kind != Kind::kMenu &&
           kind != Kind::kMenuItem;
}

}  // namespace

int EstimatedTextWidth(std::string_view text) {
    int width = 0;
    for (char c : text) width += CharacterWidth(c);
    return width;
}

int TextPadding(Kind kind) {
    switch (kind) {
        case Kind::kCheckBox:
        case Kind::kRadio:
            return 24;  // the box or circle and its gap
        case Kind::kEdit:
        case Kind::kText:
            return 12;  // sunken border and inner margins
        case Kind::kButton:
            return 16;
        case Kind::kList:
        case Kind::kEditableList:
            return 32;  // border, margins and the drop-down arrow
        case Kind::kFrame:
            return 24;  // the caption's inset from the frame's corner, on both sides
        default:
            return 2;
    }
}

std::vector<std::string> TextsShown(const Control& control) {
    std::vector<std::string> texts;
    if (!control.caption.empty()) texts.push_back(control.caption);
    texts.insert(texts.end(), control.items.begin(), control.items.end());
    texts.insert(texts.end(), control.shows.begin(), control.shows.end());
    return texts;
}

Rect FittedRect(const Control& control) {
    Rect rect = control.rect;
    if (!Fits(control.kind)) return rect;
    for (const std::string& text : TextsShown(control)) {
        int width = EstimatedTextWidth(text);
        if (control.bold) width += width / kBoldWidening;
        rect.width = std::max(rect.width, width + TextPadding(control.kind));
    }
    return rect;
}

Rect WindowRect(const WindowDescription& window, const Control& control) {
    Rect rect = FittedRect(control);
    if (const Control* frame = window.find(control.frame); frame && frame->kind == Kind::kFrame) {
        rect.x += frame->rect.x;
        rect.y += frame->rect.y;
    }
    return rect;
}

}  // namespace zelmar::window
