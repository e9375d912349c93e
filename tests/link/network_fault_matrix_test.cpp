// The network transport on virtual time: SendTcpCommand against a scripted register (the
// action classes, time-outs, split replies, late bytes, replies without an end), then the network
// path of SendCommand against the simulated register, from the command to the error file.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>

#include "common/text_file.h"
#include "link/link_rig.h"
#include "link/network_link.h"
#include "link/network_timing.h"
#include "link/transmission.h"
#include "link/verdict_cases.h"
#include "platform/tcp_socket.h"
#include "sim/core/tcp_engine.h"
#include "support/sim_tcp_socket.h"

namespace zelmar::link::testing {
namespace {

namespace nt = network_timing;
using Lines = std::vector<std::string>;

// One reply of the scripted register: segments with their delay after the send. No segment
// means silence.
struct Segment {
    int delayMs = 0;
    std::string bytes;
};
using ScriptedReply = std::vector<Segment>;

// A framed reply: STX, the three status fields, "/", checksum digits, ETX.
inline ScriptedReply Reply(const std::string& code, const std::string& status = "00",
                           int delayMs = 5) {
    return {{delayMs, "\x02" + code + "/" + status + "/00/00\x03"}};
}
inline ScriptedReply Silence() {
    return {};
}

// A TCP client whose register answers each send with the next scripted reply (silence once
// the script is used up). Connects on the next loop pass.
class ScriptedTcpSocket : public platform::TcpSocket {
  public:
    explicit ScriptedTcpSocket(platform::FakeEventLoop& loop) : loop_(loop) {}

    std::deque<ScriptedReply> script;
    std::vector<std::string> sends;

    void connectToHost(const std::string&, int) override {
        state_ = State::kConnecting;
        const int generation = ++generation_;
        loop_.postDelayed(0, [this, generation] {
            if (generation == generation_) state_ = State::kConnected;
        });
    }
    State state() const override { return state_; }
    void close() override {
        state_ = State::kClosed;
        ++generation_;
    }
    bool send(const std::string& bytes) override {
        if (state_ != State::kConnected) return false;
        sends.push_back(bytes);
        if (script.empty()) return true;  // silence
        const int generation = generation_;
        for (const auto& [delayMs, reply] : script.front()) {
            loop_.postDelayed(delayMs, [this, generation, reply] {
                if (generation != generation_) return;
                received_ += reply;
                if (onDataArrival) onDataArrival();
            });
        }
        script.pop_front();
        return true;
    }
    std::string readAvailable() override { return std::exchange(received_, {}); }

  private:
    platform::FakeEventLoop& loop_;
    State state_ = State::kClosed;
    int generation_ = 0;
    std::string received_;
};

// The network transport on a scripted or simulated socket, connected to the options' address.
template <typename Socket>
struct NetworkRigOf : RigBase {
    template <typename... SocketArgs>
    explicit NetworkRigOf(SocketArgs&... args) : socket(loop, args...) {
        session.options.UseNetwork = true;
        session.options.TraceOn = true;
        session.options.RegisterAddress = " 127.0.0.1 ";
        session.options.RegisterPort = "9101";
        network.OpenSocket();
        loop.advance(0);
    }
    SendResult send(std::string command) {
        return timed([&] { return network.SendTcpCommand(command); });
    }

    Socket socket;
    NetworkLink network{session, loop, socket, jobFiles, trace, shell};
};
using Rig = NetworkRigOf<ScriptedTcpSocket>;

const std::string kStx = "\x02";
const char* const kVatRefusal =
    "9 - Aliquota IVA errata, controllare corrispondenza IVA-Reparto - 2";

TEST(NetworkSend, EachActionClassDecidesWhatIsSentNext) {
    using enum SendResult;
    const struct {
        const char* name;
        std::string command;
        std::vector<ScriptedReply> replies;
        Lines sends;
        SendResult result;
        std::string summary;  // code - message - class of the last reply
        int minElapsedMs;
        Lines notices;
    } cases[] = {
        // clang-format off
        {"accepted", "U/", {Reply("00")}, {"U//"}, kAccepted, "0 -  - 0", 0, {}},
        {"refused", "3/1", {Reply("09")}, {"3/1/"}, kRefused, kVatRefusal, 100, {}},
        {"busy then accepted", "c", {Reply("1A"), Reply("1A"), Reply("00")}, {"c/", "c/", "c/"}, kAccepted, "0 -  - 0", 200, {}},
        {"cover open, resend refused", "c", {Reply("33"), Reply("00"), Reply("09")}, {"c/", "?/", "c/"}, kRefused, kVatRefusal, 200, {}},
        {"no reply, then accepted", "c", {Silence(), Reply("00")}, {"c/", "c/"}, kAccepted, "0 -  - 0", nt::kReplyWaitMs + nt::kTimeoutRetryPauseMs, {}},
        {"device fault ends at once", "c", {Reply("2E")}, {"c/"}, kRefused, "46 - Stampante scollegata - 9", 0, {"Errore grave della stampante fiscale, chiamare assistenza"}},
        {"empty command sends nothing", "", {}, {}, kRefused, " -  - ", 0, {}},
        {"split reply collected up to its ETX", "a", {{{5, kStx + "0"}, {25, "0/00/"}, {45, "00/\x03"}}}, {"a/"}, kAccepted, "0 -  - 0", 45, {}},
        {"late bytes never pass for the next reply", "c", {{{nt::kReplyWaitMs + 200, kStx + "09/00/00/00\x03"}}, Reply("00")}, {"c/", "c/"}, kAccepted, "0 -  - 0", nt::kReplyWaitMs, {}},
        {"bytes without ETX are bounded", "c", std::vector<ScriptedReply>(nt::kMaxSendsWithoutReply, {{5, std::string(nt::kMaxReplyBytes + 1, 'x')}}), Lines(nt::kMaxSendsWithoutReply, "c/"), kRefused, " -  - ", 0, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.socket.script.assign(c.replies.begin(), c.replies.end());
        EXPECT_EQ(rig.send(c.command), c.result);
        EXPECT_EQ(rig.socket.sends, c.sends);
        EXPECT_EQ(ReplySummary(rig.network.reply()), c.summary);
        EXPECT_GE(rig.elapsedMs, c.minElapsedMs);
        EXPECT_EQ(rig.shell.notices(), c.notices);
        const bool traced = std::count(rig.trace.lines.begin(), rig.trace.lines.end(),
                                       " --> fp_error n." + c.summary) == 1;
        EXPECT_EQ(traced, c.result != kAccepted && c.notices.empty());  // a device fault ends first
    }
}

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
    SendResult send(std::string command) {
        return timed([&] { return link.SendCommand(command); });
    }
    // SR_ERR as the network path writes it: our line, then the register's reply.
    Lines errLines(const std::string& ours) {
        jobFiles.WriteErrorFile(ours, 1);
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
    EXPECT_EQ(m.send("a"), SendResult::kAccepted);
    for (const char* line : {"3/S/PANE//1/1.00/1/22.00", "5/1/1.00//////", "9"}) {
        EXPECT_EQ(m.send(line), SendResult::kAccepted) << line;
    }
    EXPECT_EQ(m.socket.sent(), "a/3/S/PANE//1/1.00/1/22.00/5/1/1.00///////9/");
}

TEST(NetworkFaultMatrix, PaperEndPollsUntilThePaperIsBackThenSendsAgain) {
    MatrixRig m("paper:3");
    m.jobFiles.WriteErrorFile("E104: Fine carta scontrino, sostituire il rotolo", 1);
    EXPECT_EQ(m.send("3/S/PANE//1/1.00/1/22.00"), SendResult::kAccepted);
    EXPECT_EQ(m.socket.sent(), "3/S/PANE//1/1.00/1/22.00/?/?/?/3/S/PANE//1/1.00/1/22.00/");
    EXPECT_EQ(m.model.journal().lines(), (Lines{"?", "3/S/PANE//1/1.00/1/22.00"}));
    EXPECT_FALSE(std::filesystem::exists(m.errFile()));
}

TEST(NetworkFaultMatrix, FaultsEndInBoundedTimeAndTheRegisterServesAgain) {
    using enum SendResult;
    const std::int64_t silentBound =
        nt::kMaxSendsWithoutReply * (nt::kReplyWaitMs + nt::kTimeoutRetryPauseMs);
    const struct {
        const char* fault;
        SendResult result;
        std::int64_t minMs, maxMs;
        std::string reply;  // the second line of SR_ERR
    } cases[] = {
        // clang-format off
        {"refuse:*=09,9", kRefused, 0, 1000, "9 - Aliquota IVA errata, controllare corrispondenza IVA-Reparto - 2"},
        {"busy:5", kAccepted, 0, 1000, "0 -  - 0"},
        {"busy:*", kRefused, nt::kMaxBusyMs, nt::kMaxBusyMs + 1000, "26 - Stampante Busy, reinviare il comando - 1"},
        {"paper:*", kRefused, nt::kMaxPollingMs, nt::kMaxPollingMs + 1000, "44 - Carta finita - 4"},
        {"silent:*", kRefused, nt::kMaxSendsWithoutReply * nt::kReplyWaitMs, silentBound, " -  - "},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        MatrixRig m(c.fault);
        EXPECT_EQ(m.send("9"), c.result);
        EXPECT_GE(m.elapsedMs, c.minMs);
        EXPECT_LE(m.elapsedMs, c.maxMs);
        EXPECT_EQ(m.errLines("E101"), (Lines{"E101", c.reply}));
        m.session.options.UseNetwork = false;  // a serial error file has one line
        EXPECT_EQ(m.errLines("E101"), Lines{"E101"});
        m.session.options.UseNetwork = true;
        EXPECT_TRUE(m.shell.notices().empty());
        m.faults.clear();  // the register recovers: the same connection serves again
        EXPECT_EQ(m.send("9"), SendResult::kAccepted);
    }
}

// A whole job over the network through the transmission driver.
struct NetworkJobRig : MatrixRig {
    NetworkJobRig() {
        session.options.RegisterLineInput = true;  // the job holds register lines
        driver.setNetwork(&network);
    }
    jobs::JobResult transmit() {
        return timed([&] { return driver.TransmitJob(job); });
    }
    static std::string firstDocumentNumber() { return "SCONTR. N.1,"; }  // MF
    std::size_t journaled(const std::string& line) const {
        const auto& lines = model.journal().lines();
        return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
    }

    TransmissionDriver driver{session, link, loop, files, jobFiles, trace, shell};
};

TEST(NetworkFaultMatrix, TheRegisterDecidesAJobWhoseAnswersWentMissing) {
    verdict::RunVerdictCases<NetworkJobRig>();
}

TEST(NetworkFaultMatrix, AClosedConnectionFailsAtOnceAndTheNextJobReconnects) {
    MatrixRig m("drop");
    EXPECT_EQ(m.send("9"), SendResult::kRefused);
    EXPECT_LE(m.elapsedMs, 1000);
    EXPECT_TRUE(m.session.texts.JobStatus.empty());  // 10053 is only traced
    EXPECT_EQ(std::count(m.trace.lines.begin(), m.trace.lines.end(),
                         " --> WS_Error n.10053 - Connection aborted - -2146818235"),
              1);
    EXPECT_EQ(m.network.socketState(), platform::TcpSocket::State::kClosed);
    m.network.open();
    EXPECT_EQ(m.network.socketState(), platform::TcpSocket::State::kConnected);
    EXPECT_EQ(m.send("9"), SendResult::kAccepted);
}

TEST(NetworkFaultMatrix, AnUnreachablePortEndsTheConnectWaitAndTheSend) {
    MatrixRig m;
    m.network.close();
    m.socket.setReachable(false);
    const auto start = m.loop.nowMs();
    m.network.open();
    EXPECT_LE(m.loop.nowMs() - start, nt::kMaxConnectWaitMs + 1000);
    EXPECT_EQ(m.session.texts.JobStatus, "WS_Error n.10061 - Connection refused - -2146818227");
    EXPECT_EQ(m.send("9"), SendResult::kRefused);
    EXPECT_GE(m.elapsedMs, nt::kNotConnectedPauseMs);
    EXPECT_EQ(m.shell.notices(), Lines{"CONNESSIONE RETE NON VALIDA"});
    EXPECT_EQ(m.trace.log.back(), "WINSOCK NON APERTO");
    EXPECT_EQ(ReplySummary(m.network.reply()), " -  - ");
}

}  // namespace
}  // namespace zelmar::link::testing
