#include "common/version_text.h"

#include "common/version.h"

namespace zelmar {

std::string VersionText() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + ".0." +
           std::to_string(kVersionRevision);
}

}  // namespace zelmar
