#pragma once

#include <array>
#include <string>

namespace zelmar {

// Texts the program shows in its window. The core writes them here; the window, when it
// exists, displays them. Windows-1252 bytes like every core text.
struct WindowTexts {
    bool WindowShown = false;
    std::string RegisterMessage;           // messages from the register
    std::string JobStatus;                 // job status
    std::string PollState;                 // timer state
    std::array<std::string, 4> ReadState;  // Text4..Text7: register-data read state per slot
    std::string Firmware;                  // firmware revision
    std::string SerialNumberShown;         // register serial number
    std::string DataFolderShown;           // data folder
    bool timerControlsVisible = true;      // PollIntervalText and cmdChgTimer
    bool TestReceiptEnabled = true;
    std::array<bool, 4> portShapeGreen{false, false, false, false};
};

}  // namespace zelmar
