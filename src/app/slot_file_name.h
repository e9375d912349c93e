#pragma once

#include <string>

#include "common/paths.h"

namespace zelmar::app {

// The "\SR_ERR.001" style name (separator first) that JobFiles::DeleteOnce takes.
inline std::string SlotFileName(const char* baseName, int slot) {
    return std::string(1, kPathSeparator) + baseName + SlotExtension(slot);
}

}  // namespace zelmar::app
