#pragma once

// The real headless zelmar1 against real ecrsim processes, over pseudo-terminals or loopback
// TCP: the register-data read, then whole jobs from the job files to the result files.
// Shared by the integration tests, the package test and the benchmarks that run the programs.

#include <sys/types.h>

#include <algorithm>
#include <array>
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
#include "support/program_command.h"
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

// Three sales (7.50) and the cash that closes the receipt; one sale paid exactly.
inline constexpr const char* kReceipt =
    "SALE,N1,P150,:PANE;\r\n"
    "SALE,N2,Q2,P250,:LATTE;\r\n"
    "SALE,N1,P100,:ACQUA;\r\n"
    "CASH,V800;\r\n";
inline constexpr const char* kSale = "SALE,N1,P150,:PANE;\r\nCASH,V150;\r\n";

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The zelmar1 of this run: the one built beside the tests, or the Windows build under Wine.
inline ProgramCommand ProgramUnderTest() {
    return ProgramCommand::FromEnvironment(ZELMAR1_PATH);
}

// zelmar1 headless on the given folders (no data folder: the program's own choice), serving
// slot 1 on `device` (as the program names it); slots 2 to 4 get a path that is no device, so
// no real port of the machine is touched.
inline std::vector<std::string> HeadlessArguments(
    const std::string& programFolder, const std::string& dataFolder, const std::string& device,
    const ProgramCommand& program = ProgramUnderTest()) {
    std::vector<std::string> args = program.launcher();
    args.insert(args.end(), {"--headless", "--program-dir", program.path(programFolder)});
    if (!dataFolder.empty()) args.insert(args.end(), {"--data-dir", program.path(dataFolder)});
    args.insert(args.end(), {"--port", "1=" + device});
    for (const char* slot : {"2=", "3=", "4="}) {
        args.insert(args.end(),
                    {"--port", slot + program.path(JoinPath(programFolder, "no-such-device"))});
    }
    return args;
}

enum class Line { kSerial, kNetwork };
// What starts a job: the poll tick (slow mode) or the folder watcher (fast mode, no poll).
enum class Trigger { kPoll, kWatcher };

// The settings files of a program serving the `served` slots, polling every 100 ms in slow
// mode; over TCP to 127.0.0.1:`networkPort` when one is given.
inline void WriteSettings(const std::string& programFolder, std::array<bool, 4> served,
                          Trigger trigger = Trigger::kPoll, const std::string& networkPort = "") {
    Options settings;
    settings.SlotServed = served;
    settings.FastMode = trigger == Trigger::kWatcher;
    if (!networkPort.empty()) {
        settings.UseNetwork = true;
        settings.RegisterAddress = "127.0.0.1";
        settings.RegisterPort = networkPort;
    }
    platform::StdFileSystem files;
    config::SettingsFiles settingsFiles(files, programFolder);
    settingsFiles.Save(settings);
    settingsFiles.WriteTimerText(kPollIntervalMs);
}

// True once `condition` holds; the job files are looked at every 50 ms.
template <typename Condition>
bool WaitForFiles(Condition condition, std::chrono::milliseconds budget = kJobBudget) {
    return WaitFor(condition, budget, kFolderPollStep);
}

// One simulated register: ecrsim with `registerFile` and `options`, its journal and the link to
// its pseudo-terminal (LINK) in a scratch folder of its own.
class Register {
  public:
    Register(const std::string& registerFile, const std::vector<std::string>& options) {
        folder_.put("register.txt", registerFile);
        std::vector<std::string> args{ECRSIM_PATH, "--config", folder_.file("register.txt")};
        args.insert(args.end(), {"--journal", folder_.file("journal.txt")});
        args.insert(args.end(), {"--link", folder_.file("ecr")});
        args.insert(args.end(), options.begin(), options.end());
        process_ = std::make_unique<EcrsimProcess>(args);
    }
    std::string value(const std::string& key) const { return process_->value(key); }
    // The register goes away, and its end of the line with it; the journal stays.
    void stop() { process_->terminate(std::chrono::milliseconds(0)); }
    // The register hangs: the line stays open, nothing answers.
    void freeze() { ::kill(process_->pid(), SIGSTOP); }
    std::vector<std::string> journal() const { return Lines(folder_.read("journal.txt")); }
    // Whether the register has carried out a command starting with `prefix`.
    bool received(const std::string& prefix) const {
        const auto lines = journal();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    }

  private:
    ScratchFolder folder_{"run_sim"};
    std::unique_ptr<EcrsimProcess> process_;
};

// zelmar1 (the one under test unless `program` names another), its diagnostics log kept in a
// file: serving slot 1 on a register of its own (the register above with `ecrsimOptions`:
// faults, delay), or slots 1 and 3 on two registers over serial lines.
class ProgramRun {
  public:
    ProgramRun(Line line, std::vector<std::string> ecrsimOptions,
               const ProgramCommand& program = ProgramUnderTest(),
               Trigger trigger = Trigger::kPoll) {
        const bool network = line == Line::kNetwork;
        if (network) ecrsimOptions.insert(ecrsimOptions.begin(), {"--no-serial", "--tcp", "0"});
        own_ = std::make_unique<Register>(kRegisterFile, ecrsimOptions);
        const std::string port = network ? own_->value("TCP 127.0.0.1") : std::string();
        const std::string pty = network ? std::string() : own_->value("SERIAL");
        if (network ? port.empty() : pty.empty()) return;
        const std::string device =
            network ? program.path(program_.file("no-such-device")) : program.serialDevice(1, pty);
        WriteSettings(program_.path(), {true, false, false, false}, trigger, port);
        start(HeadlessArguments(program_.path(), data_.path(), device, program));
    }
    // Slot 3's device is the link to its register's pseudo-terminal.
    ProgramRun(const Register& first, const Register& third,
               const ProgramCommand& program = ProgramUnderTest()) {
        WriteSettings(program_.path(), {true, false, true, false});
        auto args = HeadlessArguments(program_.path(), data_.path(),
                                      program.serialDevice(1, first.value("SERIAL")), program);
        args.insert(args.end(), {"--port", "3=" + program.serialDevice(3, third.value("LINK"))});
        start(args);
    }
    // Killed at once: the orderly end (seconds of closing pauses) is the headless test's case.
    ~ProgramRun() {
        if (program1_) program1_->terminate(std::chrono::milliseconds(0));
    }
    bool started() const { return program1_ && program1_->started(); }
    pid_t programPid() const { return program1_->pid(); }

    // The register-data read of `slot`; true once SR_MATR is there.
    bool registerDataRead(int slot = 1) const {
        return WaitForFiles([&] { return data_.has(Name("SR_MATR", slot)); });
    }
    // After the read, one job; true when it ended (SR_START gone).
    bool runJob(const std::string& jobLines, int slot = 1) {
        return startJob(jobLines, slot) &&
               WaitForFiles([&] { return !data_.has(Name("SR_START", slot)); });
    }
    // After the read, the files of one job; false when the read did not come.
    bool startJob(const std::string& jobLines, int slot = 1) {
        if (!registerDataRead(slot)) return false;
        data_.put(Name("SR_DATI", slot), jobLines);
        data_.put(Name("SR_START", slot), "");
        return true;
    }
    // True once slot 1's register has carried out a command starting with `prefix`.
    bool registerCarriedOut(const std::string& prefix) const {
        return WaitForFiles([&] { return own_->received(prefix); });
    }
    void stopRegister() { own_->stop(); }
    void freezeRegister() { own_->freeze(); }
    // A crash or a power cut: the program is killed outright, then started again on the same
    // folders and register.
    void killAndRestart() {
        ::kill(program1_->pid(), SIGKILL);
        program1_->waitForExit();
        program1_ = std::make_unique<ChildProcess>(programArgs_, false);
    }
    // FINESCO once its content is complete (it is written right after SR_START goes).
    std::string finesco() const {
        WaitForFiles([&] { return data_.read("FINESCO.001") == "finesco"; },
                     std::chrono::seconds(1));
        return data_.read("FINESCO.001");
    }
    const ScratchFolder& data() const { return data_; }
    std::vector<std::string> journal() const { return own_->journal(); }
    std::vector<std::string> log() const { return Lines(program_.read("stderr.log")); }

  private:
    static std::string Name(const char* base, int slot) {
        return base + (".00" + std::to_string(slot));
    }
    // Through the shell's exec: the process is the program itself, standard error in a file.
    void start(const std::vector<std::string>& program) {
        programArgs_ = {"/bin/sh", "-c", "exec \"$@\" 2>\"$0\"", program_.file("stderr.log")};
        programArgs_.insert(programArgs_.end(), program.begin(), program.end());
        program1_ = std::make_unique<ChildProcess>(programArgs_, false);
    }

    ScratchFolder program_{"run_program"};
    ScratchFolder data_{"run_data"};
    std::unique_ptr<Register> own_;
    std::vector<std::string> programArgs_;
    std::unique_ptr<ChildProcess> program1_;
};

}  // namespace zelmar::testing
