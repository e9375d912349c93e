#include "config/port_map.h"

#include "common/paths.h"
#include "common/text_helpers.h"

namespace zelmar::config {

namespace {
// A device name is one short line; a larger file is not a port map.
constexpr long long kMaxPortMapBytes = 64 * 1024;
}  // namespace

PortDevices DefaultPortDevices() {
    PortDevices devices;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
#ifdef _WIN32
        devices[slot - 1] = "COM" + std::to_string(slot);
#else
        devices[slot - 1] = "/dev/ttyS" + std::to_string(slot - 1);
#endif
    }
    return devices;
}

PortDevices ReadPortDevices(platform::FileSystem& files, const std::string& programFolder,
                            const std::vector<PortOverride>& overrides) {
    PortDevices devices = DefaultPortDevices();
    const std::string path = JoinPath(programFolder, kPortMapFile);
    std::vector<std::string> lines;
    const long long size = files.fileSize(path);
    if (size >= 0 && size <= kMaxPortMapBytes && files.readLines(path, lines)) {
        for (std::size_t slot = 0; slot < devices.size() && slot < lines.size(); ++slot) {
            const std::string_view device = TrimBlanks(lines[slot]);
            if (!device.empty()) devices[slot] = std::string(device);
        }
    }
    for (const auto& entry : overrides) {
        if (entry.slot >= 1 && entry.slot <= kSlotCount && !entry.device.empty()) {
            devices[entry.slot - 1] = entry.device;
        }
    }
    return devices;
}

}  // namespace zelmar::config
