#include "common/paths.h"

#include <cstdio>

namespace zelmar {

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!name.empty() && (name.front() == '\\' || name.front() == '/')) {
        return folder + kPathSeparator + name.substr(1);
    }
    return folder + kPathSeparator + name;
}

std::string SlotExtension(int slot) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, ".%03d", slot);
    return buffer;
}

}  // namespace zelmar
