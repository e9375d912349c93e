#include "config/command_line_options.h"

#include <optional>

#include "config/numeric_text.h"

namespace zelmar::config {

namespace {

constexpr const char* kProgramDirOption = "--program-dir";
constexpr const char* kDataDirOption = "--data-dir";
constexpr const char* kPortOption = "--port";
constexpr const char* kLogLevelOption = "--log-level";

bool TakesValue(const std::string& name) {
    return name == kProgramDirOption || name == kDataDirOption || name == kPortOption ||
           name == kLogLevelOption;
}

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
        if (!TakesValue(name)) {
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
        } else if (name == kLogLevelOption) {
            const auto level = ParseLogLevel(value);
            if (!level) result.error = "--log-level needs error, warning, info or debug: " + value;
            result.logLevel = level.value_or(result.logLevel);
        } else if (const auto port = ParsePort(value)) {
            result.ports.push_back(*port);
        } else {
            result.error = "--port needs N=DEVICE with N from 1 to 4: " + value;
        }
    }
    return result;
}

std::string UsageText() {
    return "Usage: zelmar1 [OPTION]...\n"
           "       zelmar1 --convert JOBFILE [--register FILE] [--option NAME]... [--data-dir "
           "DIR]\n"
           "Fiscal printing driver: serves the job files of the data folder on the registers.\n"
           "\n"
           "  --headless           no window and no icon (also chosen without a display)\n"
           "  --demo               serve slot 1 with the built-in register simulator\n"
           "  --program-dir DIR    folder of the settings files (default: the program's folder)\n"
           "  --data-dir DIR       exchange folder of the job and result files\n"
           "  --port N=DEVICE      device of slot N (1 to 4) for this run\n"
           "  --log-level LEVEL    headless log on standard error: error, warning, info (default)"
           " or debug\n"
           "  --convert JOBFILE    print the register command lines of a job, send nothing\n"
           "  --register FILE      with --convert: the register's description\n"
           "  --option NAME        with --convert: tick the option NAME\n"
           "  --help               show this text and end\n"
           "  --version            show the version and end\n";
}

}  // namespace zelmar::config
