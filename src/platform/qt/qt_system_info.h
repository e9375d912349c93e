#pragma once

#include "platform/system_info.h"

namespace zelmar::platform {

// No NT platform, no common application-data folder, and the one registry value comes from the
// native settings store of organisation "Telvo Engineering", application "TELVOZELMAR1".
class QtSystemInfo : public SystemInfo {
  public:
    bool isNtPlatform() const override;
    int osMajorVersion() const override;
    std::string commonAppDataFolder() override;
    bool readUserValue(const std::string& subKey, const std::string& valueName, RegistryType& type,
                       std::string& data) override;
};

}  // namespace zelmar::platform
