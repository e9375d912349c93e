// The real headless program when its register goes quiet or its port goes away mid-job: the job
// ends with an error within the link's bounds and the program serves the next one.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>

#include "program_run.h"

namespace zelmar::testing {
namespace {

constexpr const char* kInterrupted = "E507: Trasmissione interrotta: probabile comando errato\r\n";

// The register hangs after the first sale, its line still open: the job ends within the link's
// bounds, and nothing after the sale was carried out.
TEST(RegisterFaults, ARegisterThatFallsSilentEndsTheJobWithE507) {
    ProgramRun run(Line::kSerial, {"--delay", "300"});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.startJob(kReceipt));
    ASSERT_TRUE(run.registerCarriedOut("3/"));
    run.freezeRegister();
    ASSERT_TRUE(WaitForFiles([&] { return !run.data().has("SR_START.001"); }));
    EXPECT_EQ(run.data().read("SR_ERR.001"), kInterrupted);
    EXPECT_FALSE(run.data().has("FINESCO.001"));
    for (const auto& line : run.journal()) EXPECT_NE(line.rfind("5/", 0), 0u) << line;
}

// The register's end of the line closes while a slow job runs (a USB adapter pulled): the job
// fails, and so does the next one, promptly, while the program keeps running.
TEST(RegisterFaults, APortThatDisappearsMidJobFailsTheJobAndTheProgramServesOn) {
    ProgramRun run(Line::kSerial, {"--delay", "300"});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.startJob(kReceipt));
    ASSERT_TRUE(run.registerCarriedOut("3/"));
    run.stopRegister();
    ASSERT_TRUE(WaitForFiles([&] { return !run.data().has("SR_START.001"); }));
    EXPECT_TRUE(run.data().has("SR_ERR.001"));
    EXPECT_FALSE(run.data().has("FINESCO.001"));

    run.data().put("SR_ERR.001", "");
    ASSERT_TRUE(run.runJob(kSale));
    EXPECT_NE(run.data().read("SR_ERR.001"), "");
    EXPECT_EQ(::kill(run.programPid(), 0), 0);  // still there
}

}  // namespace
}  // namespace zelmar::testing
