// The network path of SendCommand against the simulated register, in virtual time: normal
// traffic and the register's faults, from the command to the error file.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/text_file.h"
#include "link/network_rig.h"
#include "link/network_timing.h"
#include "link/scripted_serial_port.h"
#include "sim/core/tcp_engine.h"
#include "support/sim_tcp_socket.h"

namespace zelmar::link::testing {
namespace {

namespace nt = network_timing;

// The simulated register first, then the program's side wired to it through SendCommand.
struct SimRegister {
    ecrsim::RegisterModel model;
    ecrsim::FaultScript faults;
    ecrsim::TcpEngine engine{model, faults};
};

struct MatrixRig : SimRegister {
    MatrixRig() { link.setNetwork(&rig.network); }
    void fault(const std::string& ruleText) {
        std::string error;
        ASSERT_TRUE(faults.add(ruleText, error)) << error;
    }
    int send(const std::string& line) {
        std::string command = line;
        int expectAnswer = -1;
        const auto start = rig.loop.nowMs();
        const int result = link.SendCommand(command, expectAnswer);
        elapsedMs = rig.loop.nowMs() - start;
        return result;
    }
    std::vector<std::string> errLines() {
        std::vector<std::string> lines;
        ReadTextLines(rig.errFile(), lines);
        return lines;
    }

    NetworkRigOf<zelmar::testing::SimTcpSocket> rig{engine};
    ScriptedSerialPort port{rig.loop};
    Link link{rig.session, rig.loop, port, rig.jobFiles, rig.trace};
    std::int64_t elapsedMs = 0;
};

TEST(NetworkFaultMatrix, ReadsRegisterDataAndPrintsAReceipt) {
    MatrixRig m;
    EXPECT_EQ(m.send("a"), 1);
    const auto& fields = m.rig.session.link.ResponseFields;
    ASSERT_GE(fields.size(), 7u);
    EXPECT_EQ(fields[3], "72123456");
    EXPECT_EQ(fields[5], "AB");
    for (const char* line : {"3/S/PANE//1/1.00/1/22.00", "5/1/1.00//////", "9"}) {
        EXPECT_EQ(m.send(line), 1) << line;
    }
    EXPECT_EQ(m.model.journal().lines(),
              (std::vector<std::string>{"a", "3/S/PANE//1/1.00/1/22.00", "5/1/1.00//////", "9"}));
    EXPECT_FALSE(m.model.config().documentOpen);  // the payment closed the receipt
    EXPECT_EQ(m.rig.session.link.ResponseFields[8],
              std::to_string(m.model.config().documentNumber));
    EXPECT_EQ(m.rig.socket.sent(), "a/3/S/PANE//1/1.00/1/22.00/5/1/1.00///////9/");
}

TEST(NetworkFaultMatrix, ARefusalReachesBothLinesOfTheErrorFile) {
    MatrixRig m;
    EXPECT_EQ(m.send("3/S/PANE//1/1.00/1/99.00"), -1);  // the department's rate is 22.00
    EXPECT_EQ(m.rig.session.link.ResultCode, 0x09);
    m.rig.jobFiles.WriteErrFile("E101: Errore", 1);
    EXPECT_EQ(m.errLines(),
              (std::vector<std::string>{
                  "E101: Errore",
                  "9 - Aliquota IVA errata, controllare corrispondenza IVA-Reparto - 2"}));
    m.rig.session.options.OptionRete = false;  // a serial error file has one line
    m.rig.jobFiles.WriteErrFile("E101: Errore", 1);
    EXPECT_EQ(m.errLines(), std::vector<std::string>{"E101: Errore"});
}

TEST(NetworkFaultMatrix, PaperEndPollsUntilThePaperIsBackThenSendsAgain) {
    MatrixRig m;
    m.rig.jobFiles.WriteErrFile("E104: Fine carta scontrino, sostituire il rotolo", 1);
    m.fault("paper:3");
    EXPECT_EQ(m.send("3/S/PANE//1/1.00/1/22.00"), 1);
    EXPECT_EQ(m.rig.socket.sent(), "3/S/PANE//1/1.00/1/22.00/?/?/?/3/S/PANE//1/1.00/1/22.00/");
    EXPECT_EQ(m.model.journal().lines(),
              (std::vector<std::string>{"?", "3/S/PANE//1/1.00/1/22.00"}));
    EXPECT_FALSE(std::filesystem::exists(m.rig.errFile()));
}

TEST(NetworkFaultMatrix, PaperThatNeverComesBackEndsTheCommand) {
    MatrixRig m;
    m.fault("paper:*");
    EXPECT_EQ(m.send("3/S/PANE//1/1.00/1/22.00"), -1);
    EXPECT_GE(m.elapsedMs, nt::kMaxPollingMs);
    m.rig.jobFiles.WriteErrFile("E101", 1);
    EXPECT_EQ(m.errLines()[1], "44 - Carta finita - 4");
}

TEST(NetworkFaultMatrix, BusyRegister) {
    struct Case {
        const char* fault;
        int result;
        std::int64_t maxMs;
    };
    const Case cases[] = {{"busy:5", 1, 1000}, {"busy:*", -1, nt::kMaxBusyMs + 1000}};
    for (const auto& c : cases) {
        MatrixRig m;
        m.fault(c.fault);
        EXPECT_EQ(m.send("9"), c.result) << c.fault;
        EXPECT_LE(m.elapsedMs, c.maxMs) << c.fault;
    }
}

TEST(NetworkFaultMatrix, ARegisterThatNeverAnswersFailsWithinTwoMinutes) {
    MatrixRig m;
    m.fault("silent:*");
    EXPECT_EQ(m.send("9"), -1);
    EXPECT_LE(m.elapsedMs,
              nt::kMaxSendsWithoutReply * (nt::kReplyWaitMs + nt::kTimeoutRetryPauseMs));
    m.rig.jobFiles.WriteErrFile("E101", 1);
    EXPECT_EQ(m.errLines()[1], " -  - ");
    // The register wakes up: the next command goes through on the same connection.
    m.faults.clear();
    EXPECT_EQ(m.send("9"), 1);
}

TEST(NetworkFaultMatrix, AClosedConnectionFailsAtOnceAndTheNextJobReconnects) {
    MatrixRig m;
    m.fault("drop");
    EXPECT_EQ(m.send("9"), -1);
    EXPECT_LE(m.elapsedMs, 1000);
    EXPECT_TRUE(m.rig.session.texts.Text2.empty());  // 10053 is only traced
    EXPECT_EQ(m.rig.network.socketState(), 0);
    m.rig.network.open();
    EXPECT_EQ(m.rig.network.socketState(), 7);
    EXPECT_EQ(m.send("9"), 1);
}

TEST(NetworkFaultMatrix, AnUnreachablePortEndsTheConnectWaitAndTheSend) {
    MatrixRig m;
    m.rig.network.close();
    m.rig.socket.setReachable(false);
    const auto start = m.rig.loop.nowMs();
    m.rig.network.open();
    EXPECT_LE(m.rig.loop.nowMs() - start, nt::kMaxConnectWaitMs + 1000);
    EXPECT_EQ(m.rig.session.texts.Text2, "WS_Error n.10061 - Connection refused - -2146818227");
    EXPECT_EQ(m.send("9"), -1);
    EXPECT_EQ(m.rig.shell.notices(), std::vector<std::string>{"CONNESSIONE RETE NON VALIDA"});
}

TEST(NetworkFaultMatrix, SplitRepliesAndTheAddressOfTheOptions) {
    MatrixRig m;
    EXPECT_EQ(m.rig.socket.host(), "127.0.0.1");
    EXPECT_EQ(m.rig.socket.port(), 9101);
    m.fault("split:1=4");
    EXPECT_EQ(m.send("a"), 1);
    EXPECT_EQ(m.rig.session.link.ResponseFields[3], "72123456");
}

}  // namespace
}  // namespace zelmar::link::testing
