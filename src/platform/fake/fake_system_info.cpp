#include "platform/fake/fake_system_info.h"

namespace zelmar::platform {

void FakeSystemInfo::setUserValue(const std::string& subKey, const std::string& valueName,
                                  RegistryType type, std::string data) {
    values_[{subKey, valueName}] = {type, std::move(data)};
}

void FakeSystemInfo::setUserDword(const std::string& subKey, const std::string& valueName,
                                  std::uint32_t value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
    setUserValue(subKey, valueName, RegistryType::kDword, bytes);
}

std::string FakeSystemInfo::commonAppDataFolder() {
    ++appDataRequests_;
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
