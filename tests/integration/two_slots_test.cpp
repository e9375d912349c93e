// The real headless program serving slots 1 and 3, each with its own simulated register on a
// pseudo-terminal: a job only ever reaches its own slot's register, with that register's data.
#include <gtest/gtest.h>

#include <string>

#include "program_run.h"

namespace zelmar::testing {
namespace {

std::string OutLine(const std::string& out, const std::string& prefix) {
    for (const auto& line : Lines(out)) {
        if (line.rfind(prefix, 0) == 0) return line;
    }
    return {};
}

// Slot 1's register refuses the data read (but would take a sale) or is silent; slot 3's job
// prints on slot 3's register and nothing of it reaches slot 1's.
TEST(TwoSlots, AJobOnSlot3NeverReachesSlot1sRegister) {
    for (const char* fault : {"refuse:*=09,a", "silent:*"}) {
        SCOPED_TRACE(fault);
        const Register first(kRegisterFile, {"--fault", fault});
        const Register third(kRegisterFile, {});
        ProgramRun run(first, third);
        ASSERT_TRUE(run.runJob(kSale, 3));
        EXPECT_EQ(run.data().read("FINESCO.003"), "finesco") << run.data().read("SR_ERR.003");
        EXPECT_TRUE(third.received("3/S/PANE"));
        EXPECT_FALSE(first.received("3/S"));
        EXPECT_FALSE(first.received("5/"));
    }
}

// Two different registers: each slot's job carries its own register's VAT rate, form and
// serial.
TEST(TwoSlots, EachJobIsConvertedWithItsOwnSlotsRegisterData) {
    const Register first(kRegisterFile, {});
    const Register third("serial=99887766\nmodel=AB\nrt=0\nvat=10.00,4.00\ndocument=3\nclosure=7\n",
                         {});
    ProgramRun run(first, third);
    for (const int slot : {1, 3}) {
        ASSERT_TRUE(run.runJob(kSale, slot)) << slot;
    }
    EXPECT_TRUE(first.received("3/S/PANE//1/1.50/1/22.00"));
    EXPECT_TRUE(third.received("3/S/PANE//1/1.50/1/10.00"));
    const ScratchFolder& data = run.data();
    EXPECT_EQ(OutLine(data.read("SR_OUT.001"), "MATR"), "MATR,72MAB123456;");
    EXPECT_EQ(OutLine(data.read("SR_OUT.003"), "MATR"), "MATR,99887766;");
    // The RT register numbers its receipt with the closure, the MF register does not.
    EXPECT_NE(OutLine(data.read("SR_OUT.001"), "DATE").find("SCONTR. N.0042-0007,"),
              std::string::npos);
    EXPECT_NE(OutLine(data.read("SR_OUT.003"), "DATE").find("SCONTR. N.4,"), std::string::npos);
}

}  // namespace
}  // namespace zelmar::testing
