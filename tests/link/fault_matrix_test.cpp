// Single commands, whole jobs and register reads through the real link and the simulated
// register on virtual time, one fault at a time: what the POS application gets, and how long
// it takes.

#include <gtest/gtest.h>

#include <algorithm>

#include "common/text_file.h"
#include "link/register_reader.h"
#include "link/scripted_sender.h"
#include "link/verdict_cases.h"
#include "sim/core/serial_engine.h"
#include "support/sim_serial_port.h"

namespace zelmar::link::scripted {
namespace {

// Our bound for any one command, job or read against a misbehaving register (virtual time).
constexpr std::int64_t kJobBoundMs = 2 * 60 * 1000;

const std::vector<std::string> kReceipt{"3/S/PANE//1/1.00/1/22.00", "5/1/"};

struct SimRig : RigBase {
    explicit SimRig(const std::string& fault = "") {
        std::string error;
        EXPECT_TRUE(fault.empty() || faults.add(fault, error)) << error;
        engine.setAnswerDelay(50);
        session.PortDevice[0] = "/dev/ttyS0";      // the simulated port opens only a named device
        session.options.RegisterLineInput = true;  // the job holds register lines
        session.reg().IsRtRegister = true;
    }
    SendResult send(std::string command) {
        link.OpenConnection();
        return timed([&] { return link.SendCommand(command); });
    }
    jobs::JobResult transmit() {
        return timed([&] { return driver.TransmitJob(job); });
    }
    static std::string firstDocumentNumber() { return "SCONTR. N.0001-0001,"; }  // RT
    std::size_t journaled(const std::string& line) const {
        const auto& lines = model.journal().lines();
        return std::count(lines.begin(), lines.end(), line);
    }

    ecrsim::RegisterModel model;
    ecrsim::FaultScript faults;
    ecrsim::SerialEngine engine{model, faults};
    zelmar::testing::SimSerialPort port{loop, engine};
    Link link{session, loop, port, jobFiles, trace};
    TransmissionDriver driver{session, link, loop, files, jobFiles, trace, shell};
    RegisterReader reader{session, link, files, jobFiles};
};

TEST(SerialFaultMatrix, CommandsUnderOneFaultEach) {
    using enum SendResult;
    const struct {
        std::string fault;
        SendResult result;
        std::size_t journaled;  // times the register executed the command
    } cases[] = {
        // clang-format off
        {"", kAccepted, 1}, {"nak:2", kAccepted, 1}, {"busy:3", kAccepted, 1}, {"badsum:3", kAccepted, 1},
        {"short:2", kAccepted, 1}, {"silent:1", kAccepted, 1}, {"badsum:*", kRefused, 1},
        {"again:2", kAccepted, 1}, {"refuse:*=10,a", kRefused, 0}, {"drop", kNoContact, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        SimRig rig(c.fault);
        EXPECT_EQ(rig.send("a"), c.result);
        EXPECT_EQ(rig.journaled("a"), c.journaled);
        EXPECT_LT(rig.elapsedMs, kJobBoundMs);
    }
}

TEST(SerialFaultMatrix, JobsUnderOneFaultEach) {
    using enum jobs::JobResult;
    const struct {
        std::string fault;
        jobs::JobResult expected;
    } cases[] = {
        {"", kOk},
        {"refuse:*=08,3/", kInterrupted},
        {"paper:3@1", kOk},
        {"busy:*", kInterrupted},
        {"silent:*", kInterrupted},
        {"drop@1", kInterrupted},
        {"nak:*", kInterrupted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        SimRig rig(c.fault);
        WriteTextLines(rig.job.jobFile, kReceipt);
        EXPECT_EQ(rig.timed([&] { return rig.driver.TransmitJob(rig.job); }), c.expected);
        EXPECT_EQ(rig.journaled(kReceipt[1]), c.expected == kOk ? 1u : 0u);
        EXPECT_LT(rig.elapsedMs, kJobBoundMs);
        EXPECT_FALSE(rig.port.isOpen());
        const std::string out = ReadAll(rig.job.resultFile);
        if (c.expected == kOk) {
            EXPECT_NE(out.find("NAZF,V"), std::string::npos);
        } else {
            EXPECT_EQ(out, "");
        }
    }
}

TEST(SerialFaultMatrix, TheRegisterDecidesAJobWhoseAnswersWentMissing) {
    verdict::RunVerdictCases<SimRig>();
}

TEST(SerialFaultMatrix, SilentRegisterFailsTheReadInBoundedTime) {
    SimRig rig("silent:*");
    rig.link.OpenConnection();
    EXPECT_EQ(rig.timed([&] { return rig.reader.ReadRegisterData(); }), ReadOutcome::kFailed);
    EXPECT_LT(rig.elapsedMs, kJobBoundMs);
    EXPECT_EQ(ReadAll(rig.errFile()).rfind("E501: ", 0), 0u);
}

}  // namespace
}  // namespace zelmar::link::scripted
