#pragma once

#include <array>
#include <string>

#include "common/conversion_state.h"
#include "common/link_state.h"
#include "common/options.h"
#include "common/register_data.h"
#include "common/window_texts.h"

namespace zelmar {

// The process-wide values that the job cycle, the converter and the link share. One instance,
// owned by the application and handed to every part by reference.
struct Session {
    int CurrentSlot = 1;                    // slot of the job or read in progress, 1..4
    std::string DataFolder;                 // exchange folder
    std::string DefaultDataFolder;          // data folder before the registry override
    std::string ProgramFolder;              // settings files
    std::string DatiPath, OutPath;          // SR_DATI and SR_OUT of the job in hand
    int TestReceiptJob = 0;                 // 1 while the job is the test receipt
    std::array<std::string, 4> PortDevice;  // device of each slot (COMn, /dev/ttyS0 ...)

    Options options;
    WindowTexts texts;
    RegisterData reg;
    ConversionState conv;
    LinkState link;
};

}  // namespace zelmar
