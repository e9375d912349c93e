#pragma once

namespace zelmar::window {

struct Colour {
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
};

// A slot's shape: pure green once its port was found, the design grey until then.
inline constexpr Colour kPortFoundColour{0x00, 0xFF, 0x00};
inline constexpr Colour kShapeDesignColour{0xC0, 0xC0, 0xC0};

// The program's picture, a rounded square with a white "Z": blue while idle, orange while a job
// runs (the notification icon and Image1).
inline constexpr Colour kIdlePictureColour{0x1F, 0x5F, 0xA8};
inline constexpr Colour kBusyPictureColour{0xE0, 0x80, 0x10};
inline constexpr Colour kPictureLetterColour{0xFF, 0xFF, 0xFF};
inline constexpr char kPictureLetter[] = "Z";

}  // namespace zelmar::window
