#pragma once

#include "platform/system_info.h"

namespace zelmar::platform {

// The system's real version, the shell's common application-data folder and the current
// user's registry.
class Win32SystemInfo : public SystemInfo {
  public:
    bool isNtPlatform() const override;
    int osMajorVersion() const override;
    std::string commonAppDataFolder() override;
    bool readUserValue(const std::string& subKey, const std::string& valueName, RegistryType& type,
                       std::string& data) override;
};

}  // namespace zelmar::platform
