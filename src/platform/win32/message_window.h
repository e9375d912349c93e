#pragma once

#include <windows.h>

namespace zelmar::platform {

// An object that owns a window and takes its messages.
class MessageHandler {
  public:
    virtual LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;

  protected:
    ~MessageHandler() = default;
};

struct WindowPlace {
    DWORD style = 0;
    DWORD exStyle = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    HWND owner = nullptr;
    HMENU menu = nullptr;
    bool centred = false;  // on the screen's work area; otherwise where the system puts it
};

// A top-level window of the program's own class (the window's, the boxes' and the hidden one
// that hears the session end), with the dialog colour behind its controls,
// whose messages go to `handler` from its creation on. Its outer size follows from the client
// size, the frame and the menu.
HWND CreateMessageWindow(const char* caption, const WindowPlace& place, MessageHandler* handler);

}  // namespace zelmar::platform
