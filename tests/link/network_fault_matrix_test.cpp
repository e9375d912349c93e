// The network path of SendCommand against the simulated register, in virtual time: normal
// traffic and the register's faults, from the command to the error file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "common/text_file.h"
#include "link/network_rig.h"
#include "link/network_timing.h"
#include "sim/core/tcp_engine.h"
#include "support/sim_tcp_socket.h"

namespace zelmar::link::testing {
namespace {

namespace nt = network_timing;
using Lines = std::vector<std::string>;

// The simulated register first, then the program's side wired to it through SendCommand.
struct SimRegister {
    ecrsim::RegisterModel model;
    ecrsim::FaultScript faults;
    ecrsim::TcpEngine engine{model, faults};
};

struct MatrixRig : SimRegister, NetworkRigOf<zelmar::testing::SimTcpSocket> {
    explicit MatrixRig(const std::string& fault = "") : NetworkRigOf(engine) {
        std::string error;
        EXPECT_TRUE(fault.empty() || faults.add(fault, error)) << error;
        link.setNetwork(&network);
    }
    int send(std::string command) {
        int expectAnswer = -1;
        return timed([&] { return link.SendCommand(command, expectAnswer); });
    }
    // SR_ERR as the network path writes it: our line, then the register's reply.
    Lines errLines(const std::string& ours) {
        jobFiles.WriteErrFile(ours, 1);
        Lines lines;
        ReadTextLines(errFile(), lines);
        return lines;
    }

    ScriptedSerialPort port{loop};
    Link link{session, loop, port, jobFiles, trace};
};

TEST(NetworkFaultMatrix, ReadsRegisterDataAndPrintsAReceipt) {
    MatrixRig m;
    EXPECT_EQ(m.socket.host(), "127.0.0.1");
    EXPECT_EQ(m.socket.port(), 9101);
    EXPECT_EQ(m.send("a"), 1);
    for (const char* line : {"3/S/PANE//1/1.00/1/22.00", "5/1/1.00//////", "9"}) {
        EXPECT_EQ(m.send(line), 1) << line;
    }
    EXPECT_EQ(m.socket.sent(), "a/3/S/PANE//1/1.00/1/22.00/5/1/1.00///////9/");
}

TEST(NetworkFaultMatrix, PaperEndPollsUntilThePaperIsBackThenSendsAgain) {
    MatrixRig m("paper:3");
    m.jobFiles.WriteErrFile("E104: Fine carta scontrino, sostituire il rotolo", 1);
    EXPECT_EQ(m.send("3/S/PANE//1/1.00/1/22.00"), 1);
    EXPECT_EQ(m.socket.sent(), "3/S/PANE//1/1.00/1/22.00/?/?/?/3/S/PANE//1/1.00/1/22.00/");
    EXPECT_EQ(m.model.journal().lines(), (Lines{"?", "3/S/PANE//1/1.00/1/22.00"}));
    EXPECT_FALSE(std::filesystem::exists(m.errFile()));
}

TEST(NetworkFaultMatrix, FaultsEndInBoundedTimeAndTheRegisterServesAgain) {
    const std::int64_t silentBound =
        nt::kMaxSendsWithoutReply * (nt::kReplyWaitMs + nt::kTimeoutRetryPauseMs);
    const struct {
        const char* fault;
        int result;
        std::int64_t minMs, maxMs;
        std::string reply;  // the second line of SR_ERR
    } cases[] = {
        // clang-format off
        {"refuse:*=09,9", -1, 0, 1000, "9 - Aliquota IVA errata, controllare corrispondenza IVA-Reparto - 2"},
        {"busy:5", 1, 0, 1000, "0 -  - 0"},
        {"busy:*", -1, nt::kMaxBusyMs, nt::kMaxBusyMs + 1000, "26 - Stampante Busy, reinviare il comando - 1"},
        {"paper:*", -1, nt::kMaxPollingMs, nt::kMaxPollingMs + 1000, "44 - Carta finita - 4"},
        {"silent:*", -1, nt::kMaxSendsWithoutReply * nt::kReplyWaitMs, silentBound, " -  - "},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        MatrixRig m(c.fault);
        EXPECT_EQ(m.send("9"), c.result);
        EXPECT_GE(m.elapsedMs, c.minMs);
        EXPECT_LE(m.elapsedMs, c.maxMs);
        EXPECT_EQ(m.errLines("E101"), (Lines{"E101", c.reply}));
        m.session.options.OptionRete = false;  // a serial error file has one line
        EXPECT_EQ(m.errLines("E101"), Lines{"E101"});
        m.session.options.OptionRete = true;
        EXPECT_TRUE(m.shell.notices().empty());
        m.faults.clear();  // the register recovers: the same connection serves again
        EXPECT_EQ(m.send("9"), 1);
    }
}

TEST(NetworkFaultMatrix, AClosedConnectionFailsAtOnceAndTheNextJobReconnects) {
    MatrixRig m("drop");
    EXPECT_EQ(m.send("9"), -1);
    EXPECT_LE(m.elapsedMs, 1000);
    EXPECT_TRUE(m.session.texts.Text2.empty());  // 10053 is only traced
    EXPECT_EQ(std::count(m.trace.lines.begin(), m.trace.lines.end(),
                         " --> WS_Error n.10053 - Connection aborted - -2146818235"),
              1);
    EXPECT_EQ(m.network.socketState(), 0);
    m.network.open();
    EXPECT_EQ(m.network.socketState(), 7);
    EXPECT_EQ(m.send("9"), 1);
}

TEST(NetworkFaultMatrix, AnUnreachablePortEndsTheConnectWaitAndTheSend) {
    MatrixRig m;
    m.network.close();
    m.socket.setReachable(false);
    const auto start = m.loop.nowMs();
    m.network.open();
    EXPECT_LE(m.loop.nowMs() - start, nt::kMaxConnectWaitMs + 1000);
    EXPECT_EQ(m.session.texts.Text2, "WS_Error n.10061 - Connection refused - -2146818227");
    EXPECT_EQ(m.send("9"), -1);
    EXPECT_GE(m.elapsedMs, nt::kNotConnectedPauseMs);
    EXPECT_EQ(m.shell.notices(), Lines{"CONNESSIONE RETE NON VALIDA"});
    EXPECT_EQ(m.trace.log.back(), "WINSOCK NON APERTO");
    EXPECT_EQ(ReplySummary(m.network.reply()), " -  - ");
}

}  // namespace
}  // namespace zelmar::link::testing
