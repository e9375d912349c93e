#pragma once

#include <array>
#include <cstddef>
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
    std::array<std::string, 4> PortDevice;  // device of each slot (COMn, /dev/ttyS0 ...)

    Options options;
    WindowTexts texts;
    // Register data belongs to its slot: two different registers never share VAT tables,
    // model forms or serial numbers.
    std::array<RegisterData, 4> registers;
    ConversionState conv;
    LinkState link;

    // The register data of the slot in hand. CurrentSlot does not move while a job or a
    // register-data read runs, so this is that work's own register.
    RegisterData& reg() { return registers[SlotIndex()]; }
    const RegisterData& reg() const { return registers[SlotIndex()]; }

  private:
    std::size_t SlotIndex() const {
        return static_cast<std::size_t>(CurrentSlot >= 1 && CurrentSlot <= 4 ? CurrentSlot - 1 : 0);
    }
};

}  // namespace zelmar
