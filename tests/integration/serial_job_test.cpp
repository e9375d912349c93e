// The real headless program against the simulated register on a pseudo-terminal: the
// register-data read of slot 1, then one whole job from the job files to the result files and
// the register's journal.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/version_text.h"
#include "config/scratch_folder.h"
#include "support/program_runner.h"

namespace {

using namespace std::chrono_literals;
using zelmar::testing::ChildProcess;
using zelmar::testing::EcrsimProcess;
using zelmar::testing::ScratchFolder;

// Bounds for real processes on a loaded machine: the read and a job take about a second, a
// refused line adds the driver's pauses (3.5 s).
constexpr auto kJobBudget = 30s;
constexpr auto kFolderPollStep = 50ms;
constexpr auto kFileSettleBudget = 1s;  // a result file seen created is written at once
constexpr const char* kPollIntervalMs = "100";

// A register whose clock and counters are fixed, so the result file is known in advance.
constexpr const char* kRegisterFile =
    "serial=72123456\n"
    "model=AB\n"
    "rt=1\n"
    "date=15032024\n"
    "time=093000\n"
    "document=6\n"
    "closure=41\n"
    "day_total=100.00\n"
    "grand_total=5000.00\n";

// Three sales (7.50) and the cash that closes the receipt.
constexpr const char* kReceipt =
    "SALE,N1,P150,:PANE;\r\n"
    "SALE,N2,Q2,P250,:LATTE;\r\n"
    "SALE,N1,P100,:ACQUA;\r\n"
    "CASH,V800;\r\n";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The lines as a text file writes them: each ended by CR LF.
std::string CrLfText(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds budget = kJobBudget) {
    return zelmar::testing::WaitFor(condition, budget, kFolderPollStep);
}

// ecrsim on a pseudo-terminal with the register above and the given faults, and zelmar1 in
// slow mode serving slot 1 on that pseudo-terminal.
class SerialRun {
  public:
    explicit SerialRun(const std::vector<std::string>& faults) {
        sim_.put("register.txt", kRegisterFile);
        std::vector<std::string> options{"--config", sim_.file("register.txt"), "--journal",
                                         sim_.file("journal.txt")};
        for (const auto& fault : faults) {
            options.push_back("--fault");
            options.push_back(fault);
        }
        register_ = std::make_unique<EcrsimProcess>(ECRSIM_PATH, options);
        device_ = register_->value("SERIAL");
        if (device_.empty()) return;

        zelmar::testing::WriteSlot1SlowModeSettings(program_.path(), kPollIntervalMs);
        program1_ = std::make_unique<ChildProcess>(
            zelmar::testing::HeadlessSerialArguments(ZELMAR1_PATH, program_.path(), data_.path(),
                                                     device_),
            false);
    }
    bool started() const { return !device_.empty() && program1_->started(); }

    // The register-data read of slot 1, then the job; true when it ended (SR_START gone).
    bool runJob(const std::string& jobLines) {
        if (!WaitFor([&] { return data_.has("SR_MATR.001"); })) return false;
        data_.put("SR_DATI.001", jobLines);
        data_.put("SR_START.001", "");
        return WaitFor([&] { return !data_.has("SR_START.001"); });
    }
    // FINESCO once its content is complete (it is written right after SR_START goes).
    std::string finesco() const {
        WaitFor([&] { return data_.read("FINESCO.001") == "finesco"; }, kFileSettleBudget);
        return data_.read("FINESCO.001");
    }
    const ScratchFolder& data() const { return data_; }
    std::vector<std::string> journal() const { return Lines(sim_.read("journal.txt")); }

  private:
    ScratchFolder sim_{"serial_sim"};
    ScratchFolder program_{"serial_program"};
    ScratchFolder data_{"serial_data"};
    std::string device_;
    std::unique_ptr<EcrsimProcess> register_;
    std::unique_ptr<ChildProcess> program1_;
};

TEST(SerialIntegration, AFirstReceiptEndsWithFinescoAndTheRegistersFigures) {
    SerialRun run({});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.runJob(kReceipt));
    const ScratchFolder& data = run.data();
    EXPECT_EQ(run.finesco(), "finesco");
    EXPECT_FALSE(data.has("SR_ERR.001")) << data.read("SR_ERR.001");
    EXPECT_FALSE(data.has("SR_START.001"));
    EXPECT_FALSE(data.has("SR_DATI.001"));

    const std::string version = zelmar::VersionText();
    // The RT serial: "72", "M" for model AB, "AB", then the serial's characters 3 to 8.
    EXPECT_EQ(data.read("SR_MATR.001"),
              CrLfText({"72MAB123456", "Status: RT", "DriverType: Micrelec", "Versione: " + version,
                        "FW: SIM 1.00"}));
    // Closure 41 and document 6 before the receipt; it closed document 7 and added 7.50.
    EXPECT_EQ(data.read("SR_OUT.001"),
              CrLfText({"TIME,CASS. 1 09:30 CASSA   1 ,E,A1;",
                        "DATE,15/03/2024  SCONTR. N.0042-0007,E,A1;", "Versione " + version,
                        "MATR,72MAB123456;", "GTOT,V107.50", "GRTO,V5007.50", "NAZF,V41"}));

    // Every converted line reached the register, in order, between the read and the figures.
    const std::vector<std::string> sent = Lines(data.read("micrell.txt"));
    ASSERT_FALSE(sent.empty());
    const std::vector<std::string> journal = run.journal();
    const auto first = std::find(journal.begin(), journal.end(), sent.front());
    ASSERT_NE(first, journal.end());
    ASSERT_LE(sent.size(), static_cast<std::size_t>(journal.end() - first));
    const auto afterJob = first + static_cast<std::ptrdiff_t>(sent.size());
    EXPECT_EQ(std::vector<std::string>(first, afterJob), sent);
    // Then the figures of the result file: document number, date and time, closure, totals.
    EXPECT_EQ(std::vector<std::string>(afterJob, journal.end()),
              (std::vector<std::string>{"9", "t", "i", "0"}));
    for (const char* sale :
         {"3/S/PANE//1/1.50/1/22.00", "3/S/LATTE//2/2.50/2/10.00", "3/S/ACQUA//1/1.00/1/22.00"}) {
        EXPECT_NE(std::find(sent.begin(), sent.end(), sale), sent.end()) << sale;
    }
}

TEST(SerialIntegration, ARefusedLineEndsTheJobWithE507AndAnEmptyResultFile) {
    SerialRun run({"refuse:*=09,3/"});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.runJob(kReceipt));
    const ScratchFolder& data = run.data();
    EXPECT_EQ(data.read("SR_ERR.001"),
              "E507: Trasmissione interrotta: probabile comando errato\r\n");
    EXPECT_TRUE(data.has("SR_OUT.001"));
    EXPECT_EQ(data.read("SR_OUT.001"), "");
    EXPECT_EQ(data.read("SR_DATI.001"), kReceipt);
    EXPECT_FALSE(data.has("FINESCO.001"));
    // Nothing after the refused sale was sent.
    for (const auto& line : run.journal()) EXPECT_NE(line.rfind("5/", 0), 0u) << line;
}

}  // namespace
