#pragma once

#include <string>

#include "platform/system_info.h"

namespace zelmar::config {

// Where the optional data-folder override is kept, under the current user's hive.
inline constexpr const char* kRegistryKey = "SOFTWARE\\Telvo Engineering\\TELVOZELMAR1";
inline constexpr const char* kCustomDataDirValue = "CustomPathDataDir";

// False when the sub-key path starts or ends with "\" or contains "\\".
bool IsValidSubKeyName(const std::string& subKey);

// Reads one value under the current user's hive as text: a string as it is (one trailing NUL
// dropped), a 32-bit number as its decimal text, any other type as an empty text. False when
// the sub-key name is invalid or the value is missing, unreadable or larger than the read
// buffer.
bool RegQueryString(platform::SystemInfo& system, const std::string& subKey,
                    const std::string& valueName, std::string& value);

}  // namespace zelmar::config
