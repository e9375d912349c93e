#pragma once

// Which zelmar1 the end-to-end tests and benchmarks start: the Linux build, or the Windows
// build under Wine, with its folders and serial ports named the way a Windows program names
// them.

#include <string>
#include <vector>

namespace zelmar::testing {

class ProgramCommand {
  public:
    // The Linux program at `executable`.
    explicit ProgramCommand(std::string executable);
    // With ZELMAR1_WINE_EXE set: that program, started by ZELMAR_WINE_RUN, in a Wine prefix
    // whose COM1 to COM4 point to the links com1 to com4 in ZELMAR_WINE_PORTS. Otherwise the
    // Linux program at `linuxExecutable`.
    static ProgramCommand FromEnvironment(const std::string& linuxExecutable);

    bool underWine() const { return !portLinks_.empty(); }
    // The command line up to the program's own arguments.
    const std::vector<std::string>& launcher() const { return launcher_; }
    // A folder or file as the program names it: under Wine "Z:\tmp\x" for "/tmp/x".
    std::string path(const std::string& hostPath) const;
    // The device the program opens for slot `slot` to reach the pseudo-terminal `device`: the
    // device itself, or under Wine "COMn" once the slot's link points to it.
    std::string serialDevice(int slot, const std::string& device) const;

  private:
    std::vector<std::string> launcher_;
    std::string portLinks_;  // Wine only
};

}  // namespace zelmar::testing
