// The real headless program against ecrsim: a job whose answers went missing, or that the
// program was killed in, still ends in exactly one answer for the POS application, and
// FINESCO only for a receipt the register completed.
#include <gtest/gtest.h>

#include <string>

#include "program_run.h"

namespace zelmar::testing {
namespace {

constexpr const char* kSeventhDocument = "DATE,15/03/2024  SCONTR. N.0042-0007,E,A1;";

std::size_t Payments(const std::vector<std::string>& journal) {
    return static_cast<std::size_t>(
        std::count_if(journal.begin(), journal.end(),
                      [](const std::string& l) { return l.rfind("5/", 0) == 0; }));
}

TEST(CrashRecovery, ALostAnswerToThePaymentIsSettledFromTheRegister) {
    ProgramRun run(Line::kSerial, {"--fault", "lost=5/"});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.runJob(kReceipt));
    EXPECT_EQ(run.finesco(), "finesco");
    EXPECT_EQ(Lines(run.data().read("SR_OUT.001")).at(1), kSeventhDocument);
    EXPECT_EQ(Payments(run.journal()), 1u);  // one receipt: the resent payment was refused
}

// Killed right after the register carried out the payment, or in the middle of the sales.
TEST(CrashRecovery, AJobKilledMidwayIsAnsweredAtTheNextStartUp) {
    for (const bool afterPayment : {true, false}) {
        SCOPED_TRACE(afterPayment ? "after the payment" : "mid-receipt");
        ProgramRun run(Line::kSerial, {"--delay", "150"});
        ASSERT_TRUE(run.started());
        ASSERT_TRUE(run.startJob(kReceipt));
        ASSERT_TRUE(run.registerCarriedOut(afterPayment ? "5/" : "3/S/PANE"));
        run.killAndRestart();
        const ScratchFolder& data = run.data();
        ASSERT_TRUE(WaitFor([&] { return !data.has("SR_START.001"); }, kJobBudget));
        if (afterPayment) {
            EXPECT_EQ(run.finesco(), "finesco");
            EXPECT_EQ(Lines(data.read("SR_OUT.001")).at(1), kSeventhDocument);
            EXPECT_FALSE(data.has("SR_ERR.001"));
        } else {
            EXPECT_FALSE(data.has("FINESCO.001"));
            EXPECT_EQ(data.read("SR_ERR.001"),
                      "E507: Trasmissione interrotta: probabile comando errato\r\n");
            EXPECT_EQ(data.read("SR_DATI.001"), kReceipt);  // for the POS to send again
        }
        EXPECT_EQ(Payments(run.journal()), afterPayment ? 1u : 0u);
        EXPECT_FALSE(data.has("ZMINFLIGHT.001"));
    }
}

}  // namespace
}  // namespace zelmar::testing
