#include "sim/core/sim_options.h"

#include <charconv>
#include <fstream>

namespace ecrsim {
namespace {

constexpr int kMaxDelayMs = 60000;  // a minute: beyond any wait the driver has

bool ParseIntIn(const std::string& text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && value >= low && value <= high;
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

bool SetKeyValue(SimOptions& options, const std::string& setting, std::string& error) {
    const std::size_t equals = setting.find('=');
    if (equals == std::string::npos) {
        error = "expected key=value: " + setting;
        return false;
    }
    return options.set(setting.substr(0, equals), setting.substr(equals + 1), error);
}

}  // namespace

bool SimOptions::set(const std::string& key, const std::string& value, std::string& error) {
    if (key == "journal") {
        journalPath = value;
    } else if (key == "delay") {
        if (!ParseIntIn(value, 0, kMaxDelayMs, delayMs))
            return error = "bad delay: " + value, false;
    } else if (key == "fault") {
        return faults.add(value, error);
    } else if (key == "link") {
        linkPath = value;
    } else if (key == "tcp") {
        if (!ParseIntIn(value, 0, 65535, tcpPort)) return error = "bad TCP port: " + value, false;
    } else {
        return config.set(key, value, error);
    }
    return true;
}

bool SimOptions::loadFile(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
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
        if (i + 1 >= args.size()) {
            error = "unknown option or missing value: " + arg;
            return false;
        }
        const std::string& value = args[++i];
        bool ok = false;
        if (arg == "--config") {
            ok = options.loadFile(value, error);
        } else if (arg == "--set") {
            ok = SetKeyValue(options, value, error);
        } else {
            const ValueOption* known = nullptr;
            for (const auto& option : kValueOptions)
                if (arg == option.option) known = &option;
            if (!known) {
                error = "unknown option: " + arg;
                return false;
            }
            ok = options.set(known->key, value, error);
        }
        if (!ok) return false;
    }
    return true;
}

}  // namespace ecrsim
