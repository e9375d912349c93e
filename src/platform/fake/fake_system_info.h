#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/system_info.h"

namespace zelmar::platform {

// Operating-system answers chosen by the test. By default: not NT, no app-data folder, no
// registry values.
class FakeSystemInfo : public SystemInfo {
  public:
    void setPlatform(bool nt, int majorVersion) {
        nt_ = nt;
        major_ = majorVersion;
    }
    // Empty means the shell cannot give the folder.
    void setCommonAppDataFolder(std::string folder) { appData_ = std::move(folder); }
    void setUserValue(const std::string& subKey, const std::string& valueName, RegistryType type,
                      std::string data);
    void setUserString(const std::string& subKey, const std::string& valueName,
                       const std::string& text) {
        setUserValue(subKey, valueName, RegistryType::kString, text);
    }

    bool isNtPlatform() const override { return nt_; }
    int osMajorVersion() const override { return major_; }
    std::string commonAppDataFolder() override;
    bool readUserValue(const std::string& subKey, const std::string& valueName, RegistryType& type,
                       std::string& data) override;

  private:
    struct Value {
        RegistryType type;
        std::string data;
    };
    bool nt_ = false;
    int major_ = 0;
    std::string appData_;
    std::map<std::pair<std::string, std::string>, Value> values_;
};

}  // namespace zelmar::platform
