#pragma once

// The real headless zelmar1 against a real ecrsim process, over a pseudo-terminal or loopback
// TCP: the register-data read of slot 1, then whole jobs from the job files to the result files.
// Shared by the integration tests and the benchmarks that run the real programs.

#include <sys/types.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/options.h"
#include "config/scratch_folder.h"
#include "config/settings_files.h"
#include "platform/file_system.h"
#include "support/program_runner.h"

namespace zelmar::testing {

// Bounds for real processes on a loaded machine: the read and a job take about a second, a
// refused line adds the driver's pauses (3.5 s), a slow register (benchmarks) some seconds.
inline constexpr std::chrono::seconds kJobBudget{60};
inline constexpr std::chrono::milliseconds kFolderPollStep{50};
inline constexpr const char* kPollIntervalMs = "100";  // ZMTIMER1.TXT: the poll never holds a job

// A register whose clock and counters are fixed, so the result files are known in advance.
inline constexpr const char* kRegisterFile =
    "serial=72123456\nmodel=AB\nrt=1\ndate=15032024\ntime=093000\ndocument=6\nclosure=41\n"
    "day_total=100.00\ngrand_total=5000.00\n";

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// zelmar1 headless on the given folders, serving slot 1 on `device`; slots 2 to 4 get a path
// that is no device, so no real port of the machine is touched.
inline std::vector<std::string> HeadlessArguments(const std::string& programFolder,
                                                  const std::string& dataFolder,
                                                  const std::string& device,
                                                  const std::string& executable = ZELMAR1_PATH) {
    std::vector<std::string> args{executable,   "--headless", "--program-dir", programFolder,
                                  "--data-dir", dataFolder,   "--port",        "1=" + device};
    for (const char* slot : {"2=", "3=", "4="}) {
        args.insert(args.end(), {"--port", slot + JoinPath(programFolder, "no-such-device")});
    }
    return args;
}

enum class Line { kSerial, kNetwork };

// ecrsim with the register above and `ecrsimOptions` (faults, delay), and zelmar1 (the built
// one unless `executable` names another) serving slot 1 through it in slow mode, its
// diagnostics log kept in a file.
class ProgramRun {
  public:
    ProgramRun(Line line, const std::vector<std::string>& ecrsimOptions,
               const std::string& executable = ZELMAR1_PATH) {
        const bool network = line == Line::kNetwork;
        sim_.put("register.txt", kRegisterFile);
        std::vector<std::string> args{ECRSIM_PATH, "--config", sim_.file("register.txt"),
                                      "--journal", sim_.file("journal.txt")};
        if (network) args.insert(args.end(), {"--no-serial", "--tcp", "0"});
        args.insert(args.end(), ecrsimOptions.begin(), ecrsimOptions.end());
        register_ = std::make_unique<EcrsimProcess>(args);
        const std::string port = network ? register_->value("TCP 127.0.0.1") : std::string();
        const std::string device =
            network ? program_.file("no-such-device") : register_->value("SERIAL");
        if (network ? port.empty() : device.empty()) return;
        writeSettings(port);
        // Through the shell's exec: the process is the program itself, standard error in a file.
        std::vector<std::string> shell{"/bin/sh", "-c", "exec \"$@\" 2>\"$0\"", sim_.file("log")};
        const auto headless = HeadlessArguments(program_.path(), data_.path(), device, executable);
        shell.insert(shell.end(), headless.begin(), headless.end());
        programArgs_ = shell;
        program1_ = std::make_unique<ChildProcess>(programArgs_, false);
    }
    // Killed at once: the orderly end (seconds of closing pauses) is the headless test's case.
    ~ProgramRun() {
        if (program1_) program1_->terminate(std::chrono::milliseconds(0));
    }
    bool started() const { return program1_ && program1_->started(); }
    pid_t programPid() const { return program1_->pid(); }

    // The register-data read of slot 1; true once SR_MATR is there.
    bool registerDataRead() const {
        return WaitFor([&] { return data_.has("SR_MATR.001"); });
    }
    // After the read, one job; true when it ended (SR_START gone).
    bool runJob(const std::string& jobLines) {
        return startJob(jobLines) && WaitFor([&] { return !data_.has("SR_START.001"); });
    }
    // After the read, the files of one job; false when the read did not come.
    bool startJob(const std::string& jobLines) {
        if (!registerDataRead()) return false;
        data_.put("SR_DATI.001", jobLines);
        data_.put("SR_START.001", "");
        return true;
    }
    // True once the register has carried out a command starting with `prefix`.
    bool registerCarriedOut(const std::string& prefix) const {
        return WaitFor([&] {
            const auto lines = journal();
            return std::any_of(lines.begin(), lines.end(),
                               [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
        });
    }
    // A crash or a power cut: the program is killed outright, then started again on the same
    // folders and register.
    void killAndRestart() {
        ::kill(program1_->pid(), SIGKILL);
        program1_->waitForExit();
        program1_ = std::make_unique<ChildProcess>(programArgs_, false);
    }
    // FINESCO once its content is complete (it is written right after SR_START goes).
    std::string finesco() const {
        WaitFor([&] { return data_.read("FINESCO.001") == "finesco"; }, std::chrono::seconds(1));
        return data_.read("FINESCO.001");
    }
    const ScratchFolder& data() const { return data_; }
    std::vector<std::string> journal() const { return Lines(sim_.read("journal.txt")); }
    std::vector<std::string> log() const { return Lines(sim_.read("log")); }

  private:
    // Slot 1 alone, in slow mode; over TCP to 127.0.0.1:`networkPort` when one is given.
    void writeSettings(const std::string& networkPort) {
        Options settings;
        settings.SlotServed = {true, false, false, false};
        if (!networkPort.empty()) {
            settings.UseNetwork = true;
            settings.RegisterAddress = "127.0.0.1";
            settings.RegisterPort = networkPort;
        }
        platform::StdFileSystem files;
        config::SettingsFiles settingsFiles(files, program_.path());
        settingsFiles.Save(settings);
        settingsFiles.WriteTimerText(kPollIntervalMs);
    }
    template <typename Condition>
    static bool WaitFor(Condition condition, std::chrono::milliseconds budget = kJobBudget) {
        return testing::WaitFor(condition, budget, kFolderPollStep);
    }

    ScratchFolder sim_{"run_sim"};
    ScratchFolder program_{"run_program"};
    ScratchFolder data_{"run_data"};
    std::unique_ptr<EcrsimProcess> register_;
    std::vector<std::string> programArgs_;
    std::unique_ptr<ChildProcess> program1_;
};

}  // namespace zelmar::testing
