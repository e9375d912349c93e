#include "support/program_command.h"

#include <cstdlib>
#include <filesystem>
#include <utility>

namespace zelmar::testing {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

ProgramCommand::ProgramCommand(std::string executable) : launcher_{std::move(executable)} {}

ProgramCommand ProgramCommand::FromEnvironment(const std::string& linuxExecutable) {
    const std::string windowsExecutable = Environment("ZELMAR1_WINE_EXE");
    if (windowsExecutable.empty()) return ProgramCommand(linuxExecutable);
    ProgramCommand wine(Environment("ZELMAR_WINE_RUN"));
    wine.launcher_.push_back(windowsExecutable);
    wine.portLinks_ = Environment("ZELMAR_WINE_PORTS");
    return wine;
}

std::string ProgramCommand::path(const std::string& hostPath) const {
    if (!underWine() || hostPath.empty() || hostPath.front() != '/') return hostPath;
    std::string windowsPath = "Z:" + hostPath;
    for (char& c : windowsPath) {
        if (c == '/') c = '\\';
    }
    return windowsPath;
}

std::string ProgramCommand::serialDevice(int slot, const std::string& device) const {
    if (!underWine()) return device;
    namespace fs = std::filesystem;
    const fs::path link = fs::path(portLinks_) / ("com" + std::to_string(slot));
    std::error_code ignored;
    fs::remove(link, ignored);
    fs::create_symlink(device, link, ignored);
    return "COM" + std::to_string(slot);
}

}  // namespace zelmar::testing
