#include <gtest/gtest.h>

#include <filesystem>

#include "link/link_rig.h"
#include "link/network_timing.h"

namespace zelmar::link::testing {
namespace {

namespace nt = network_timing;
using enum SendResult;
using enum jobs::JobResult;

constexpr std::int64_t kJobBoundMs = 2 * 60 * 1000;
const std::string kSale = "3/S/PANE//1/1.00/1/22.00", kPayment = "5/1/1.00//////";

TEST(SerialFaultMatrix, JobsUnderOneFaultEachEndInBoundedTime) {
    const struct {
        std::string fault;
        jobs::JobResult job;  // the sale and its payment
    } cases[] = {
        // clang-format off
        {"", kOk}, {"nak:2", kOk}, {"badsum:3", kOk}, {"short:2", kOk}, {"silent:1", kOk}, {"again:2", kOk},
        {"paper:3@1", kOk}, {"refuse:*=08,3/", kInterrupted}, {"busy:*", kInterrupted},
        {"silent:*", kInterrupted}, {"nak:*", kInterrupted}, {"drop", kInterrupted}, {"drop@1", kInterrupted},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        SimRig rig(false, {c.fault});
        WriteTextLines(rig.job.jobFile, {kSale, kPayment});
        EXPECT_EQ(rig.transmit(), c.job);
        EXPECT_EQ(rig.journaled(kPayment), c.job == kOk ? 1u : 0u);
        EXPECT_LT(rig.elapsedMs, kJobBoundMs);
        EXPECT_FALSE(rig.port.isOpen());
        const std::string out = rig.folder.read("SR_OUT.001");
        EXPECT_EQ(out.find("NAZF,V") != std::string::npos, c.job == kOk) << out;
    }
}

TEST(SerialFaultMatrix, SilentRegisterFailsTheReadInBoundedTime) {
    SimRig rig(false, {"silent:*"});
    EXPECT_EQ(rig.timed([&] { return rig.reader.ReadRegisterData(); }), ReadOutcome::kFailed);
    EXPECT_LT(rig.elapsedMs, kJobBoundMs);
    EXPECT_EQ(rig.folder.read("SR_ERR.001").rfind("E501: ", 0), 0u);
}

TEST(FaultMatrix, TheRegisterDecidesAJobWhoseAnswersWentMissing) {
    const struct {
        const char* name;
        Lines faults;
        std::vector<jobs::JobResult> results;  // one job each
        std::size_t paymentsCarriedOut;
    } cases[] = {
        // clang-format off
        {"lost answer to the payment", {"lost=5/"}, {kOk}, 1},
        {"lost answer to a sale, then silence", {"lost=3/", "silent:*@1"}, {kInterrupted}, 0},
        {"dead register after a lost payment", {"lost=5/", "silent:*@2"}, {kInterrupted}, 1},
        {"a receipt left open by a failed job is not closed by the next job's payment", {"refuse:1=09,5/"}, {kInterrupted, kReceiptOpen}, 1},
        // clang-format on
    };
    for (const bool overTcp : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (overTcp ? " over TCP" : " on the serial line"));
            SimRig rig(overTcp, c.faults);
            for (const jobs::JobResult expected : c.results) {
                WriteTextLines(rig.job.jobFile, {kSale, kPayment});
                EXPECT_EQ(rig.transmit(), expected);
            }
            EXPECT_EQ(rig.journaled(kPayment), c.paymentsCarriedOut);
            const bool done = c.results.back() == kOk;
            const std::string out = rig.folder.read("SR_OUT.001");
            EXPECT_EQ(out.find("SCONTR. N.0001-0001,") != std::string::npos, done) << out;
            const std::string log = rig.folder.read("LOGFILE.TXT");
            EXPECT_EQ(log.find("Esito accertato dal registratore") != std::string::npos, done);
        }
    }
}

// Over TCP every loop is bounded, and the second line of SR_ERR names the last reply.
TEST(NetworkFaultMatrix, FaultsEndInBoundedTimeAndTheRegisterServesAgain) {
    const std::string vat = "9 - Aliquota IVA errata, controllare corrispondenza IVA-Reparto - 2";
    const std::int64_t resent = nt::kReplyWaitMs + nt::kTimeoutRetryPauseMs;
    const struct {
        const char* name;
        Lines faults;
        std::string command;
        SendResult result;
        std::string sent;  // every byte sent; "*": not checked
        std::string reply;
        std::int64_t minMs, maxMs;
        int lateMs = 0;      // the first reply's delay
        bool noise = false;  // more than a reply's worth of bytes without ETX come first
        Lines notices{};
    } cases[] = {
        // clang-format off
        {"accepted", {}, "a", kAccepted, "a/", "0 -  - 0", 0, 1000},
        {"refused", {"refuse:*=09,9"}, "9", kRefused, "9/", vat, nt::kRetryPauseMs, 1000},
        {"busy, then accepted", {"busy:2"}, "9", kAccepted, "9/9/9/", "0 -  - 0", 2 * nt::kRetryPauseMs, 1000},
        {"busy for ever", {"busy:*"}, "9", kRefused, "*", "26 - Stampante Busy, reinviare il comando - 1", nt::kMaxBusyMs, nt::kMaxBusyMs + 1000},
        {"cover open, the resent command refused", {"paper=33", "refuse=09,9"}, "9", kRefused, "9/?/9/", vat, 2 * nt::kRetryPauseMs, 1000},
        {"paper out for ever", {"paper:*"}, "9", kRefused, "*", "44 - Carta finita - 4", nt::kMaxPollingMs, nt::kMaxPollingMs + 1000},
        {"no reply once", {"silent:1"}, "9", kAccepted, "9/9/", "0 -  - 0", resent, resent + 1000},
        {"no reply for ever", {"silent:*"}, "9", kRefused, "9/9/", " -  - ", nt::kMaxSendsWithoutReply * nt::kReplyWaitMs, nt::kMaxSendsWithoutReply * resent},
        {"device fault", {"fault"}, "9", kRefused, "9/", "46 - Stampante scollegata - 9", 0, 1000, 0, false, {"Errore grave della stampante fiscale, chiamare assistenza"}},
        {"empty command: nothing sent", {}, "", kRefused, "", " -  - ", 0, 1000},
        {"reply in three segments", {"split=3"}, "a", kAccepted, "a/", "0 -  - 0", 40, 1000},
        {"a late reply never passes for the next one", {"refuse=09,9"}, "9", kAccepted, "9/9/", "0 -  - 0", resent, resent + 1000, nt::kReplyWaitMs + 200},
        {"noise past the bound, then the reply in the same wait", {}, "9", kAccepted, "9/9/", "0 -  - 0", resent, resent + 1000, 50, true},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimRig m(true, c.faults);
        m.jobFiles.WriteErrorFile("E104: Fine carta scontrino, sostituire il rotolo", 1);
        if (c.lateMs > 0) {
            m.tcpEngine.setAnswerDelay(c.lateMs);
            m.loop.postDelayed(1, [&] { m.tcpEngine.setAnswerDelay(0); });
        }
        if (c.noise) {
            m.loop.postDelayed(5,
                               [&] { m.socket.deliver(std::string(nt::kMaxReplyBytes + 1, 'x')); });
        }
        EXPECT_EQ(m.send(c.command), c.result);
        EXPECT_EQ(c.sent == "*" ? c.sent : m.socket.sent(), c.sent);
        EXPECT_GE(m.elapsedMs, c.minMs);
        EXPECT_LE(m.elapsedMs, c.maxMs);
        EXPECT_EQ(m.shell.notices(), c.notices);
        EXPECT_EQ(std::filesystem::exists(m.errFile()), c.sent.find('?') == std::string::npos);
        EXPECT_EQ(m.traced(" --> fp_error n." + c.reply),
                  c.result != kAccepted && c.notices.empty());
        EXPECT_EQ(m.errLines("E101"), (Lines{"E101", c.reply}));
        m.faults.clear();  // the register recovers: the same connection serves again
        EXPECT_EQ(m.send("9"), kAccepted);
    }
}

TEST(NetworkFaultMatrix, AClosedConnectionFailsAtOnceAndTheNextJobReconnects) {
    SimRig m(true, {"drop"});
    EXPECT_EQ(m.socket.host(), "127.0.0.1");
    EXPECT_EQ(m.send("9"), kRefused);
    EXPECT_LE(m.elapsedMs, 1000);
    EXPECT_TRUE(m.session.texts.JobStatus.empty());  // 10053 is only traced
    EXPECT_TRUE(m.traced(" --> WS_Error n.10053 - Connection aborted - -2146818235"));
    EXPECT_EQ(m.network.socketState(), platform::TcpSocket::State::kClosed);
    m.network.open();
    EXPECT_EQ(m.network.socketState(), platform::TcpSocket::State::kConnected);
    EXPECT_EQ(m.send("9"), kAccepted);
    m.session.options.UseNetwork = false;  // a serial error file has one line
    EXPECT_EQ(m.errLines("E101"), Lines{"E101"});
}

TEST(NetworkFaultMatrix, AnUnreachablePortEndsTheConnectWaitAndTheSend) {
    SimRig m(true);
    m.network.close();
    m.socket.setReachable(false);
    const auto start = m.loop.nowMs();
    m.network.open();
    EXPECT_LE(m.loop.nowMs() - start, nt::kMaxConnectWaitMs + 1000);
    EXPECT_EQ(m.session.texts.JobStatus, "WS_Error n.10061 - Connection refused - -2146818227");
    EXPECT_EQ(m.send("9"), kRefused);
    EXPECT_GE(m.elapsedMs, nt::kNotConnectedPauseMs);
    EXPECT_EQ(m.shell.notices(), Lines{"CONNESSIONE RETE NON VALIDA"});
    EXPECT_EQ(m.trace.log.back(), "WINSOCK NON APERTO");
    EXPECT_EQ(m.errLines("E101"), (Lines{"E101", " -  - "}));
}

}  // namespace
}  // namespace zelmar::link::testing
