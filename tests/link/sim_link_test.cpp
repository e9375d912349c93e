#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "link/link_rig.h"
#include "sim/core/fault_script.h"
#include "sim/core/register_model.h"
#include "sim/core/serial_engine.h"
#include "support/sim_serial_port.h"

namespace zelmar::link::testing {
namespace {

// The link against the simulated register over a virtual serial line.
struct SimRig {
    explicit SimRig(const std::string& fault) {
        std::string error;
        if (!fault.empty()) {
            EXPECT_TRUE(faults.add(fault, error)) << error;
        }
        engine.setAnswerDelay(20);
        session.DataFolder = folder.str();
        session.PortDevice = {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"};
        link.OpenConnection();
    }
    int send(std::string command) {
        int expectAnswer = -1;
        return link.SendCommand(command, expectAnswer);
    }

    TempFolder folder;
    platform::FakeEventLoop loop;
    ecrsim::RegisterModel model;
    ecrsim::FaultScript faults;
    ecrsim::SerialEngine engine{model, faults};
    zelmar::testing::SimSerialPort port{loop, engine};
    Session session;
    CountingFileSystem files;
    jobs::JobFiles jobFiles{session, files, loop};
    RecordingTrace trace;
    Link link{session, loop, port, jobFiles, trace};
};

TEST(SimulatedRegister, IdentificationAnswerFillsTheFields) {
    SimRig rig("");
    EXPECT_EQ(rig.send("a"), 1);
    ASSERT_GE(rig.session.link.ResponseFields.size(), 4u);
    EXPECT_EQ(rig.session.link.ResponseFields[3], rig.model.config().serial);
    EXPECT_EQ(rig.model.journal().lines(), std::vector<std::string>{"a"});
}

TEST(SimulatedRegister, FaultsEndAsTheProtocolSays) {
    const struct {
        std::string fault;
        int result;
        std::size_t journaled;  // times the register executed the command
    } cases[] = {
        {"nak:2", 1, 1},    {"busy:3", 1, 1},         {"badsum:3", 1, 1}, {"short:2", 1, 1},
        {"silent:1", 1, 1}, {"noack:*", 0, 0},        {"busy:*", -9, 0},  {"badsum:*", -1, 1},
        {"again:2", 1, 1},  {"refuse:*=10,a", -1, 0}, {"drop", 0, 0},
    };
    for (const auto& c : cases) {
        SimRig rig(c.fault);
        EXPECT_EQ(rig.send("a"), c.result) << c.fault;
        EXPECT_EQ(rig.model.journal().lines().size(), c.journaled) << c.fault;
        EXPECT_LT(rig.loop.nowMs(), 2 * 60 * 1000) << c.fault;
    }
}

TEST(SimulatedRegister, PaperEndIsReportedOnceAndClearedWhenPaperIsBack) {
    SimRig rig("paper:3");
    EXPECT_EQ(rig.send("a"), 1);
    const auto errFile = rig.jobFiles.SlotFile("SR_ERR", 1);
    EXPECT_EQ(std::count(rig.files.writes.begin(), rig.files.writes.end(), errFile), 1);
    EXPECT_FALSE(std::filesystem::exists(errFile));
}

}  // namespace
}  // namespace zelmar::link::testing
