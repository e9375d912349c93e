#pragma once

#include <array>
#include <string>

namespace zelmar {

// Texts the program shows in its window. The core writes them here; the window, when it
// exists, displays them. Windows-1252 bytes like every core text.
struct WindowTexts {
    bool WindowShown = false;
    std::string Text1;                     // messages from the register
    std::string Text2;                     // job status
    std::string Text3;                     // timer state
    std::array<std::string, 4> DumpState;  // Text4..Text7: register-data read state per slot
    std::string txtFWRev;                  // firmware revision
    std::string txtEcrMatr;                // register serial number
    std::string txtAppDataVista;           // data folder
    bool timerControlsVisible = true;      // txtTimerVal and cmdChgTimer
    bool CMBFileEnabled = true;
    std::array<bool, 4> portShapeGreen{false, false, false, false};
};

}  // namespace zelmar
