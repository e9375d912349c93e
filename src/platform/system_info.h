#pragma once

#include <string>

namespace zelmar::platform {

// Registry value types as the Windows registry reports them.
enum class RegistryType { kNone, kString, kDword, kOther };

// Operating-system questions behind the data-folder rule, and the one registry read.
class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    virtual bool isNtPlatform() const = 0;
    virtual int osMajorVersion() const = 0;
    // The common application-data folder; empty on failure.
    virtual std::string commonAppDataFolder() = 0;
    // Reads one value under the current user's hive (on Windows the registry; elsewhere a
    // native settings store with the same organisation and application names). False when
    // the key or value is missing or unreadable. `data` holds the raw bytes of the value.
    virtual bool readUserValue(const std::string& subKey, const std::string& valueName,
                               RegistryType& type, std::string& data) = 0;
};

}  // namespace zelmar::platform
