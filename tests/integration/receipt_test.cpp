// The real headless program against the simulated register, on a pseudo-terminal started by the
// poll and on loopback TCP started by the folder watcher: whole jobs from the job files to the
// result files and the register's journal.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/version_text.h"
#include "program_run.h"

namespace zelmar::testing {
namespace {

// The lines as a text file writes them: each ended by CR LF.
std::string CrLfText(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

class Receipt : public ::testing::TestWithParam<Line> {
  protected:
    Trigger trigger() const {
        return GetParam() == Line::kSerial ? Trigger::kPoll : Trigger::kWatcher;
    }
};

TEST_P(Receipt, AFirstReceiptEndsWithFinescoAndTheRegistersFigures) {
    ProgramRun run(GetParam(), {}, ProgramUnderTest(), trigger());
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.runJob(kReceipt));
    const ScratchFolder& data = run.data();
    EXPECT_EQ(run.finesco(), "finesco");
    EXPECT_FALSE(data.has("SR_ERR.001")) << data.read("SR_ERR.001");
    EXPECT_FALSE(data.has("SR_DATI.001"));

    const std::string version = VersionText();
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
    const auto first = std::search(journal.begin(), journal.end(), sent.begin(), sent.end());
    ASSERT_NE(first, journal.end());
    // Then the figures of the result file: document number, date and time, closure, totals.
    EXPECT_EQ(std::vector<std::string>(first + std::ssize(sent), journal.end()),
              (std::vector<std::string>{"9", "t", "i", "0"}));
}

// A refusal (class 2) ends the job: the job's error line (over TCP also the register's own
// message), an empty result file, the job kept, nothing after the refused sale sent.
TEST_P(Receipt, ARefusedLineEndsTheJobWithE507AndAnEmptyResultFile) {
    ProgramRun run(GetParam(), {"--fault", "refuse:*=09,3/"}, ProgramUnderTest(), trigger());
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.runJob(kReceipt));
    const ScratchFolder& data = run.data();
    EXPECT_EQ(data.read("SR_ERR.001"),
              std::string("E507: Trasmissione interrotta: probabile comando errato\r\n") +
                  (GetParam() == Line::kNetwork
                       ? "9 - Aliquota IVA errata, controllare corrispondenza IVA-Reparto - 2\r\n"
                       : ""));
    EXPECT_TRUE(data.has("SR_OUT.001"));
    EXPECT_EQ(data.read("SR_OUT.001"), "");
    EXPECT_EQ(data.read("SR_DATI.001"), kReceipt);
    EXPECT_FALSE(data.has("FINESCO.001"));
    for (const auto& line : run.journal()) EXPECT_NE(line.rfind("5/", 0), 0u) << line;
}

INSTANTIATE_TEST_SUITE_P(SerialAndNetwork, Receipt,
                         ::testing::Values(Line::kSerial, Line::kNetwork), [](const auto& info) {
                             return info.param == Line::kSerial ? "SerialPolled" : "NetworkWatched";
                         });

}  // namespace
}  // namespace zelmar::testing
