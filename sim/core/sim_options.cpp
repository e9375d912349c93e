#include "sim/core/sim_options.h"

#include <charconv>
#include <fstream>

namespace ecrsim {
namespace {

constexpr int kMaxDelayMs = 60000;  // a minute: beyond any wait the driver has

bool Fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

// Leaves `value` alone unless the text is a whole number within the range.
bool ParseIntIn(const std::string& text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    int parsed = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || ec != std::errc() || ptr != end || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

// Options that take a value, and the setting each one stands for.
struct ValueOption {
    const char* option;
    const char* key;
};
constexpr ValueOption kValueOptions[] = {
    {"--model", "model"},     {"--description", "description"},
    {"--serial", "serial"},   {"--firmware", "firmware"},
    {"--journal", "journal"}, {"--delay", "delay"},
    {"--fault", "fault"},     {"--link", "link"},
    {"--tcp", "tcp"},
};

const ValueOption* FindValueOption(const std::string& arg) {
    for (const auto& option : kValueOptions)
        if (arg == option.option) return &option;
    return nullptr;
}

bool SetKeyValue(SimOptions& options, const std::string& setting, std::string& error) {
    const std::size_t equals = setting.find('=');
    if (equals == std::string::npos) return Fail(error, "expected key=value: " + setting);
    return options.set(setting.substr(0, equals), setting.substr(equals + 1), error);
}

}  // namespace

bool SimOptions::set(const std::string& key, const std::string& value, std::string& error) {
    if (key == "journal") {
        journalPath = value;
    } else if (key == "delay") {
        if (!ParseIntIn(value, 0, kMaxDelayMs, delayMs)) return Fail(error, "bad delay: " + value);
    } else if (key == "fault") {
        return faults.add(value, error);
    } else if (key == "link") {
        linkPath = value;
    } else if (key == "tcp") {
        if (!ParseIntIn(value, 0, 65535, tcpPort)) return Fail(error, "bad TCP port: " + value);
    } else {
        return config.set(key, value, error);
    }
    return true;
}

bool SimOptions::loadFile(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return Fail(error, "cannot read " + path);
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (!SetKeyValue(*this, line, error)) {
            error = path + ":" + std::to_string(number) + ": " + error;
            return false;
        }
    }
    return true;
}

bool ParseSimArguments(const std::vector<std::string>& args, SimOptions& options,
                       std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--rt" || arg == "--mf") {
            options.config.rt = arg == "--rt";
            continue;
        }
        if (arg == "--no-serial") {
            options.serial = false;
            continue;
        }
        const ValueOption* setting = FindValueOption(arg);
        if (!setting && arg != "--config" && arg != "--set")
            return Fail(error, "unknown option: " + arg);
        if (i + 1 >= args.size()) return Fail(error, "missing value after " + arg);
        const std::string& value = args[++i];
        const bool ok = setting          ? options.set(setting->key, value, error)
                        : arg == "--set" ? SetKeyValue(options, value, error)
                                         : options.loadFile(value, error);
        if (!ok) return false;
    }
    return true;
}

}  // namespace ecrsim
