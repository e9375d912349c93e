#include "config/registry_value.h"

#include <cstdint>

namespace zelmar::config {

namespace {

// The size of the buffer the value is read into; a larger value does not fit and fails.
constexpr std::size_t kValueBufferBytes = 1024;

// The number's bytes, last to first, read as one hexadecimal number: the little-endian value.
std::string DwordAsDecimalText(const std::string& data) {
    std::uint64_t number = 0;
    for (auto byte = data.rbegin(); byte != data.rend(); ++byte) {
        number = (number << 8) | static_cast<unsigned char>(*byte);
    }
    return std::to_string(number);
}

}  // namespace

bool IsValidSubKeyName(const std::string& subKey) {
    if (subKey.empty()) return true;
    return subKey.front() != '\\' && subKey.back() != '\\' &&
           subKey.find("\\\\") == std::string::npos;
}

bool RegQueryString(platform::SystemInfo& system, const std::string& subKey,
                    const std::string& valueName, std::string& value) {
    if (!IsValidSubKeyName(subKey)) return false;
    platform::RegistryType type = platform::RegistryType::kNone;
    std::string data;
    if (!system.readUserValue(subKey, valueName, type, data)) return false;
    if (data.size() > kValueBufferBytes) return false;
    if (!data.empty() && data.back() == '\0') data.pop_back();
    switch (type) {
        case platform::RegistryType::kString:
            value = data;
            break;
        case platform::RegistryType::kDword:
            value = DwordAsDecimalText(data.substr(0, 8));
            break;
        default:
            value.clear();
            break;
    }
    return true;
}

}  // namespace zelmar::config
