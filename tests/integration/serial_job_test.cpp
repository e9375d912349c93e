// The real headless program against the simulated register on a pseudo-terminal: one whole job
// from the job files to the result files and the register's journal.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/version_text.h"
#include "program_run.h"

namespace zelmar::testing {
namespace {

// Three sales (7.50) and the cash that closes the receipt.
constexpr const char* kReceipt =
    "SALE,N1,P150,:PANE;\r\n"
    "SALE,N2,Q2,P250,:LATTE;\r\n"
    "SALE,N1,P100,:ACQUA;\r\n"
    "CASH,V800;\r\n";

// The lines as a text file writes them: each ended by CR LF.
std::string CrLfText(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

TEST(SerialIntegration, AFirstReceiptEndsWithFinescoAndTheRegistersFigures) {
    ProgramRun run(Line::kSerial, {});
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
    const auto first = std::find(journal.begin(), journal.end(), sent.front());
    ASSERT_LE(sent.size(), static_cast<std::size_t>(journal.end() - first));
    const auto afterJob = first + static_cast<std::ptrdiff_t>(sent.size());
    EXPECT_EQ(std::vector<std::string>(first, afterJob), sent);
    // Then the figures of the result file: document number, date and time, closure, totals.
    EXPECT_EQ(std::vector<std::string>(afterJob, journal.end()),
              (std::vector<std::string>{"9", "t", "i", "0"}));
}

TEST(SerialIntegration, ARefusedLineEndsTheJobWithE507AndAnEmptyResultFile) {
    ProgramRun run(Line::kSerial, {"--fault", "refuse:*=09,3/"});
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
}  // namespace zelmar::testing
