#include "config/command_line_options.h"

#include <optional>

#include "config/numeric_text.h"

namespace zelmar::config {

namespace {

constexpr const char* kProgramDirOption = "--program-dir";
constexpr const char* kDataDirOption = "--data-dir";
constexpr const char* kPortOption = "--port";

// "N=DEVICE" with N a slot number.
std::optional<PortOverride> ParsePort(const std::string& value) {
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos || equals + 1 >= value.size()) return std::nullopt;
    long slot = 0;
    if (!ParseWholeNumber(value.substr(0, equals), kSlotCount, slot) || slot < 1) {
        return std::nullopt;
    }
    return PortOverride{static_cast<int>(slot), value.substr(equals + 1)};
}

}  // namespace

ConfigCommandLine ParseConfigCommandLine(const std::vector<std::string>& arguments) {
    ConfigCommandLine result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (name != kProgramDirOption && name != kDataDirOption && name != kPortOption) {
            result.otherArguments.push_back(argument);
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        }
        if (value.empty()) {
            result.error = name + " needs a value";
        } else if (name == kProgramDirOption) {
            result.programDir = value;
        } else if (name == kDataDirOption) {
            result.dataDir = value;
        } else if (const auto port = ParsePort(value)) {
            result.ports.push_back(*port);
        } else {
            result.error = "--port needs N=DEVICE with N from 1 to 4: " + value;
        }
    }
    return result;
}

}  // namespace zelmar::config
