// The real headless program with no register: start-up, other copies, the end on SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>

#include "program_run.h"

namespace zelmar::testing {
namespace {

// Bound for a real process on a loaded machine; the program itself needs well under a second
// to start.
constexpr std::chrono::seconds kStartBudget{15};

// Start-up, a second copy of the same installation (ends silently), another installation on
// the same data folder spelt differently (refused); a copy killed without its clean-up leaves no
// lock in the way of the next, which ends on SIGTERM with the settings saved.
TEST(Headless, StartsServesLocksItsDataFolderAndEndsOnSigterm) {
    ScratchFolder program("headless_program");
    ScratchFolder otherProgram("headless_other_program");
    ScratchFolder data("headless_data");
    // No usable serial device, so no slot is served and nothing waits on a register.
    const auto args =
        HeadlessArguments(program.path(), data.path(), program.file("no-such-device"));
    ChildProcess first(args, false);
    ASSERT_TRUE(first.started());
    // Start-up writes the poll interval file; with no port found, the first poll writes E502.
    ASSERT_TRUE(WaitFor([&] { return data.has("SR_ERR.004"); }, kStartBudget));
    EXPECT_EQ(program.read("ZMTIMER1.TXT"), "1\r\n");
    EXPECT_EQ(data.read("SR_ERR.001"), "E502: Nessuna porta di comunicazione disponibile\r\n");

    ChildProcess second(args, false);
    EXPECT_EQ(second.waitForExit(), 0);
    ChildProcess other(
        HeadlessArguments(otherProgram.path(), data.path() + "/.", otherProgram.file("no-device")),
        false);
    EXPECT_EQ(other.waitForExit(), 4);
    EXPECT_FALSE(otherProgram.has("ZMTIMER1.TXT"));  // it ended before its start-up

    kill(first.pid(), SIGKILL);
    EXPECT_EQ(first.waitForExit(), -2);
    std::filesystem::remove(data.file("SR_ERR.004"));
    std::filesystem::remove(program.file("ZMCHKCOM.TXT"));
    ChildProcess next(args, false);  // both locks of the killed copy are in its way
    EXPECT_TRUE(WaitFor([&] { return data.has("SR_ERR.004"); }, kStartBudget));
    EXPECT_EQ(next.terminate(), 0);
    EXPECT_EQ(program.read("ZMCHKCOM.TXT"), "0000\r\n");  // no port found: every slot unticked
    EXPECT_TRUE(program.has("ZMCHKSCO.TXT"));
    EXPECT_EQ(program.read("ZMChkBd.txt"), "9600\r\n");
}

}  // namespace
}  // namespace zelmar::testing
