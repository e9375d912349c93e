#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "config/scratch_folder.h"
#include "support/program_runner.h"

namespace {

using namespace std::chrono_literals;
using zelmar::testing::ChildProcess;
using zelmar::testing::ScratchFolder;
using zelmar::testing::WaitFor;

// Bound for a real process on a loaded machine; the program itself needs well under a second
// to start.
constexpr auto kStartBudget = 15s;

// The program with its folders in a scratch folder and no usable serial device, so no slot is
// served and nothing waits on a register.
std::vector<std::string> HeadlessArguments(const ScratchFolder& program,
                                           const ScratchFolder& data) {
    std::vector<std::string> args{ZELMAR1_PATH,   "--headless", "--program-dir",
                                  program.path(), "--data-dir", data.path()};
    for (int slot = 1; slot <= 4; ++slot) {
        args.push_back("--port");
        args.push_back(std::to_string(slot) + "=" + program.file("no-such-device"));
    }
    return args;
}

TEST(Headless, StartsServesAndEndsOnSigtermWithTheSettingsSaved) {
    ScratchFolder program("headless_program");
    ScratchFolder data("headless_data");
    ChildProcess program1(HeadlessArguments(program, data), false);
    ASSERT_TRUE(program1.started());
    // Start-up writes the poll interval file; with no port found, the first poll writes E502.
    const bool up = WaitFor([&] { return data.has("SR_ERR.004"); }, kStartBudget);
    EXPECT_TRUE(up);
    EXPECT_EQ(program.read("ZMTIMER1.TXT"), "1\r\n");
    EXPECT_EQ(data.read("SR_ERR.001"), "E502: Nessuna porta di comunicazione disponibile\r\n");

    // A second copy on the same program folder ends at once, silently, with status 0.
    ChildProcess second(HeadlessArguments(program, data), false);
    EXPECT_EQ(second.waitForExit(), 0);

    EXPECT_EQ(program1.terminate(), 0);
    EXPECT_EQ(program.read("ZMCHKCOM.TXT"), "0000\r\n");  // no port found: every slot unticked
    EXPECT_TRUE(program.has("ZMCHKSCO.TXT"));
    EXPECT_EQ(program.read("ZMChkBd.txt"), "9600\r\n");
}

}  // namespace
