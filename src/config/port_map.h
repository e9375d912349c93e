#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zelmar::config {

// Slot n is the serial port COMn. On Windows that is the device "COMn"; elsewhere the device
// of each slot comes from ZMPORTS.TXT in the program folder (line n for slot n) or from the
// defaults /dev/ttyS0 ... /dev/ttyS3. The file is only read, never written.
inline constexpr const char* kPortMapFile = "ZMPORTS.TXT";
inline constexpr int kSlotCount = 4;

using PortDevices = std::array<std::string, kSlotCount>;

// A device given on the command line for one slot (1..4), for this run only.
struct PortOverride {
    int slot = 0;
    std::string device;
};

PortDevices DefaultPortDevices();

// The defaults, replaced by every non-blank line of the map file, then by the overrides.
PortDevices ReadPortDevices(platform::FileSystem& files, const std::string& programFolder,
                            const std::vector<PortOverride>& overrides = {});

}  // namespace zelmar::config
