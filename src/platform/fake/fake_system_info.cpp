#include "platform/fake/fake_system_info.h"

namespace zelmar::platform {

void FakeSystemInfo::setUserValue(const std::string& subKey, const std::string& valueName,
                                  RegistryType type, std::string data) {
    values_[{subKey, valueName}] = {type, std::move(data)};
}

std::string FakeSystemInfo::commonAppDataFolder() {
    return appData_;
}

bool FakeSystemInfo::readUserValue(const std::string& subKey, const std::string& valueName,
                                   RegistryType& type, std::string& data) {
    const auto found = values_.find({subKey, valueName});
    if (found == values_.end()) return false;
    type = found->second.type;
    data = found->second.data;
    return true;
}

}  // namespace zelmar::platform
