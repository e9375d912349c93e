// The real headless program against the simulated register on loopback TCP: whole jobs from
// the job files to the result files.
#include <gtest/gtest.h>

#include <string>

#include "program_run.h"

namespace zelmar::testing {
namespace {

constexpr const char* kReceipt = "SALE,N1,P100,:PANE;\r\nCASH,V100;\r\n";

TEST(NetworkIntegration, AReceiptOverLoopbackTcpEndsWithFinesco) {
    ProgramRun run(Line::kNetwork, {});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.runJob(kReceipt));
    EXPECT_EQ(run.finesco(), "finesco");
    EXPECT_FALSE(run.data().has("SR_ERR.001")) << run.data().read("SR_ERR.001");
    EXPECT_NE(run.data().read("SR_OUT.001").find("MATR,72MAB123456;\r\n"), std::string::npos);
}

// A refusal (class 2): the job's error line, then the register's own message.
TEST(NetworkIntegration, ARefusedSaleWritesBothErrorLines) {
    ProgramRun run(Line::kNetwork, {"--fault", "refuse:*=09,3/"});
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.runJob(kReceipt));
    EXPECT_FALSE(run.data().has("FINESCO.001"));
    EXPECT_EQ(run.data().read("SR_ERR.001"),
              "E507: Trasmissione interrotta: probabile comando errato\r\n"
              "9 - Aliquota IVA errata, controllare corrispondenza IVA-Reparto - 2\r\n");
}

}  // namespace
}  // namespace zelmar::testing
