#include "ui_win32/win32_pictures.h"

#include <initializer_list>

#include "window/colours.h"

namespace zelmar::ui_win32 {
namespace {

COLORREF ToColorRef(const window::Colour& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

// The rounded square in `brush` on `bitmap`, `size` pixels wide.
void DrawSquare(HDC dc, HBITMAP bitmap, HBRUSH brush, int size) {
    SelectObject(dc, bitmap);
    SelectObject(dc, brush);
    SelectObject(dc, GetStockObject(NULL_PEN));
    const int corner = size / 4;
    RoundRect(dc, 0, 0, size + 1, size + 1, corner, corner);
}

void DrawLetter(HDC dc, int size) {
    HFONT font = CreateFontA(-size * 3 / 4, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, "Arial");
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(window::kPictureLetterColour));
    RECT area{0, 0, size, size};
    DrawTextA(dc, window::kPictureLetter, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, previous);
    DeleteObject(font);
}

// An icon is a colour picture and a mask: the mask is white (transparent) outside the square.
HICON DrawPicture(const window::Colour& background, int size) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP colour = CreateCompatibleBitmap(screen, size, size);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ReleaseDC(nullptr, screen);

    SelectObject(dc, mask);
    PatBlt(dc, 0, 0, size, size, WHITENESS);
    DrawSquare(dc, mask, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), size);

    SelectObject(dc, colour);
    PatBlt(dc, 0, 0, size, size, BLACKNESS);
    HBRUSH brush = CreateSolidBrush(ToColorRef(background));
    DrawSquare(dc, colour, brush, size);
    DrawLetter(dc, size);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
    DeleteDC(dc);

    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

}  // namespace

ProgramPictures::ProgramPictures()
    : idleLarge_(DrawPicture(window::kIdlePictureColour, GetSystemMetrics(SM_CXICON))),
      idleSmall_(DrawPicture(window::kIdlePictureColour, GetSystemMetrics(SM_CXSMICON))),
      busyLarge_(DrawPicture(window::kBusyPictureColour, GetSystemMetrics(SM_CXICON))),
      busySmall_(DrawPicture(window::kBusyPictureColour, GetSystemMetrics(SM_CXSMICON))) {}

ProgramPictures::~ProgramPictures() {
    for (HICON icon : {idleLarge_, idleSmall_, busyLarge_, busySmall_}) DestroyIcon(icon);
}

}  // namespace zelmar::ui_win32
