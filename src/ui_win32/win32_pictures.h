#pragma once

#include <windows.h>

namespace zelmar::ui_win32 {

// The program's pictures, drawn at start so no icon file travels with the program: idle for
// the window and the notification icon, busy (Image1) while a job runs, each in the system's
// large and small icon sizes.
class ProgramPictures {
  public:
    ProgramPictures();
    ~ProgramPictures();
    ProgramPictures(const ProgramPictures&) = delete;
    ProgramPictures& operator=(const ProgramPictures&) = delete;

    HICON idleLarge() const { return idleLarge_; }
    HICON idleSmall() const { return idleSmall_; }
    HICON busyLarge() const { return busyLarge_; }
    HICON busySmall() const { return busySmall_; }

  private:
    HICON idleLarge_;
    HICON idleSmall_;
    HICON busyLarge_;
    HICON busySmall_;
};

}  // namespace zelmar::ui_win32
