// The real headless program with no register: start-up, a second copy, the end on SIGTERM and
// SIGINT.
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

TEST(Headless, StartsServesAndEndsOnSigtermWithTheSettingsSaved) {
    ScratchFolder program("headless_program");
    ScratchFolder data("headless_data");
    // No usable serial device, so no slot is served and nothing waits on a register.
    const auto args =
        HeadlessArguments(program.path(), data.path(), program.file("no-such-device"));
    ChildProcess program1(args, false);
    ASSERT_TRUE(program1.started());
    // Start-up writes the poll interval file; with no port found, the first poll writes E502.
    EXPECT_TRUE(WaitFor([&] { return data.has("SR_ERR.004"); }, kStartBudget));
    EXPECT_EQ(program.read("ZMTIMER1.TXT"), "1\r\n");
    EXPECT_EQ(data.read("SR_ERR.001"), "E502: Nessuna porta di comunicazione disponibile\r\n");

    // A second copy on the same program folder ends at once, silently, with status 0.
    ChildProcess second(args, false);
    EXPECT_EQ(second.waitForExit(), 0);

    EXPECT_EQ(program1.terminate(), 0);
    EXPECT_EQ(program.read("ZMCHKCOM.TXT"), "0000\r\n");  // no port found: every slot unticked
    EXPECT_TRUE(program.has("ZMCHKSCO.TXT"));
    EXPECT_EQ(program.read("ZMChkBd.txt"), "9600\r\n");
}

// Another installation (its own program folder) on the same data folder, spelt differently,
// refuses to start; a copy killed without its clean-up leaves no lock in the way of the next.
TEST(Headless, OneDataFolderIsServedByOneProgramAndACrashedOneDoesNotBlockIt) {
    ScratchFolder data("shared_data");
    ScratchFolder program("shared_program");
    ScratchFolder otherProgram("shared_other_program");
    const auto args = HeadlessArguments(program.path(), data.path(), program.file("no-device"));
    ChildProcess first(args, false);
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(WaitFor([&] { return data.has("SR_ERR.004"); }, kStartBudget));

    ChildProcess other(
        HeadlessArguments(otherProgram.path(), data.path() + "/.", otherProgram.file("no-device")),
        false);
    EXPECT_EQ(other.waitForExit(), 4);
    EXPECT_FALSE(otherProgram.has("ZMTIMER1.TXT"));  // it ended before its start-up

    kill(first.pid(), SIGKILL);
    EXPECT_EQ(first.waitForExit(), -2);
    std::filesystem::remove(data.file("SR_ERR.004"));
    ChildProcess next(args, false);  // both locks of the killed copy are in its way
    EXPECT_TRUE(WaitFor([&] { return data.has("SR_ERR.004"); }, kStartBudget));
    kill(next.pid(), SIGINT);  // ends it as cleanly as SIGTERM
    EXPECT_EQ(next.waitForExit(), 0);
}

}  // namespace
}  // namespace zelmar::testing
