// SendCommandMCP_TCP against a scripted register on virtual time: the action classes, the
// paper wait, time-outs, split replies and every bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "link/network_rig.h"
#include "link/network_timing.h"

namespace zelmar::link::testing {
namespace {

namespace nt = network_timing;
using Rig = NetworkRigOf<ScriptedTcpSocket>;
using Sends = std::vector<std::string>;

bool Contains(const std::vector<std::string>& lines, const std::string& text) {
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

struct ClassCase {
    const char* name;
    std::string command;
    std::vector<ScriptedReply> replies;
    Sends sends;
    int result;
    std::string summary;  // code - message - class of the last reply
    int minElapsedMs;
};

TEST(NetworkSend, EachActionClassDecidesWhatIsSentNext) {
    const ClassCase cases[] = {
        {"accepted", "U/", {Reply("00")}, {"U//"}, 1, "0 -  - 0", 0},
        {"refused",
         "3/1",
         {Reply("09")},
         {"3/1/"},
         -1,
         "9 - Aliquota IVA errata, controllare corrispondenza IVA-Reparto - 2",
         100},
        {"busy then accepted",
         "c",
         {Reply("1A"), Reply("1A"), Reply("00")},
         {"c/", "c/", "c/"},
         1,
         "0 -  - 0",
         200},
        {"paper end, polls, resend",
         "c",
         {Reply("2C", "32"), Reply("2C", "32"), Reply("00"), Reply("00")},
         {"c/", "?/", "?/", "c/"},
         1,
         "0 -  - 0",
         200},
        {"cover open, resend refused",
         "c",
         {Reply("33"), Reply("00"), Reply("09")},
         {"c/", "?/", "c/"},
         -1,
         "9 - Aliquota IVA errata, controllare corrispondenza IVA-Reparto - 2",
         200},
        {"no reply, then accepted",
         "c",
         {Silence(), Reply("00")},
         {"c/", "c/"},
         1,
         "0 -  - 0",
         nt::kReplyWaitMs + nt::kTimeoutRetryPauseMs},
        {"numbered code is class 0", "c", {Reply("9A")}, {"c/"}, 1, "154 - Errore n. 154 - 0", 0},
        {"empty command sends nothing", "", {}, {}, -1, " -  - ", 0},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.socket.script.assign(c.replies.begin(), c.replies.end());
        EXPECT_EQ(rig.send(c.command), c.result) << c.name;
        EXPECT_EQ(rig.socket.sends, c.sends) << c.name;
        EXPECT_EQ(ReplySummary(rig.network.reply()), c.summary) << c.name;
        EXPECT_GE(rig.elapsedMs, c.minElapsedMs) << c.name;
        EXPECT_TRUE(rig.shell.notices().empty()) << c.name;
        EXPECT_EQ(Contains(rig.trace.lines, " --> fp_error n." + c.summary), c.result != 1)
            << c.name;
    }
}

TEST(NetworkSend, DeviceFaultEndsAtOnceWithANotice) {
    Rig rig;
    rig.socket.script = {Reply("2E")};
    EXPECT_EQ(rig.send("c"), -1);
    EXPECT_EQ(rig.socket.sends, Sends{"c/"});
    EXPECT_EQ(
        rig.shell.notices(),
        std::vector<std::string>{"Errore grave della stampante fiscale, chiamare assistenza"});
    EXPECT_EQ(rig.network.reply().ActionClass, "9");
}

TEST(NetworkSend, PaperBackDeletesTheErrorFile) {
    Rig rig;
    rig.files.writeLines(rig.errFile(), {"E104"}, false);
    rig.socket.script = {Reply("2C", "32"), Reply("00"), Reply("00")};
    EXPECT_EQ(rig.send("c"), 1);
    EXPECT_FALSE(std::filesystem::exists(rig.errFile()));
}

TEST(NetworkSend, NotConnectedFailsWithANoticeAndAnEmptyRecord) {
    Rig rig;
    rig.socket.script = {Reply("09")};
    rig.send("c");
    rig.socket.close();
    EXPECT_EQ(rig.send("d"), -1);
    EXPECT_EQ(rig.shell.notices(), std::vector<std::string>{"CONNESSIONE RETE NON VALIDA"});
    EXPECT_EQ(ReplySummary(rig.network.reply()), " -  - ");
    EXPECT_EQ(rig.trace.log.back(), "WINSOCK NON APERTO");
    EXPECT_GE(rig.elapsedMs, nt::kNotConnectedPauseMs);
}

TEST(NetworkSend, SplitRepliesAreCollectedUpToTheirEtx) {
    Rig rig;
    rig.socket.script = {{{5,
                           "\x02"
                           "0"},
                          {25, "0/00/"},
                          {45, "00/12"},
                          {65, "\x03"}}};
    EXPECT_EQ(rig.send("a"), 1);
    EXPECT_EQ(rig.network.rawReply(),
              "\x02"
              "00/00/00/12\x03");
    EXPECT_EQ(rig.elapsedMs, 65);
}

TEST(NetworkSend, StaleBytesNeverPassForTheNextReply) {
    Rig rig;
    // The first command's reply comes after the time-out; the late bytes are dropped and the
    // second send gets its own reply.
    rig.socket.script = {{{nt::kReplyWaitMs + 200,
                           "\x02"
                           "09/00/00/00\x03"}},
                         Reply("00")};
    EXPECT_EQ(rig.send("c"), 1);
    EXPECT_EQ(rig.socket.sends, (Sends{"c/", "c/"}));
    // Noise between two commands.
    rig.socket.script = {Reply("00", "00", "00", 50)};
    rig.socket.deliverLater({0,
                             "\x02"
                             "2E/00/00/00\x03"});
    rig.loop.advance(10);
    EXPECT_EQ(rig.send("d"), 1);
    EXPECT_EQ(rig.network.reply().Code, "0");
}

TEST(NetworkSend, BytesWithoutEtxAreBoundedAndEndAsATimeout) {
    Rig rig;
    rig.socket.otherwise = [](const std::string&) {
        return ScriptedReply{{5, std::string(nt::kMaxReplyBytes + 1, 'x')}};
    };
    EXPECT_EQ(rig.send("c"), -1);
    EXPECT_EQ(rig.socket.sends.size(), static_cast<std::size_t>(nt::kMaxSendsWithoutReply));
    EXPECT_EQ(ReplySummary(rig.network.reply()), " -  - ");
}

struct BoundCase {
    const char* name;
    ScriptedReply forever;
    std::int64_t minMs, maxMs;
    std::string actionClass;
};

TEST(NetworkSend, EveryEndlessAnswerIsBounded) {
    const BoundCase cases[] = {
        {"busy", Reply("1A"), nt::kMaxBusyMs, nt::kMaxBusyMs + 1000, "1"},
        {"paper out", Reply("2C", "32"), nt::kMaxPollingMs, nt::kMaxPollingMs + 1000, "4"},
        {"silent", Silence(), nt::kMaxSendsWithoutReply * nt::kReplyWaitMs,
         nt::kMaxSendsWithoutReply * (nt::kReplyWaitMs + nt::kTimeoutRetryPauseMs), ""},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.socket.otherwise = [&c](const std::string&) { return c.forever; };
        EXPECT_EQ(rig.send("c"), -1) << c.name;
        EXPECT_GE(rig.elapsedMs, c.minMs) << c.name;
        EXPECT_LE(rig.elapsedMs, c.maxMs) << c.name;
        EXPECT_EQ(rig.network.reply().ActionClass, c.actionClass) << c.name;
        EXPECT_TRUE(rig.shell.notices().empty()) << c.name;
    }
}

TEST(NetworkSend, ADroppedConnectionEndsTheWaitAtOnce) {
    Rig rig;
    rig.socket.script = {Silence()};
    rig.loop.postDelayed(300, [&rig] { rig.socket.drop(); });
    EXPECT_EQ(rig.send("c"), -1);
    EXPECT_LE(rig.elapsedMs, 400);
    EXPECT_TRUE(rig.session.texts.Text2.empty());  // 10053 is not shown
    EXPECT_TRUE(
        Contains(rig.trace.lines, " --> WS_Error n.10053 - Connection aborted - -2146818235"))
        << ::testing::PrintToString(rig.trace.lines);
}

TEST(NetworkSend, LogsEveryStepOfAnAcceptedCommand) {
    Rig rig;
    rig.socket.script = {Reply("00")};
    rig.send("a");
    const std::vector<std::string> expected{
        "=========================== INIZIO TRASMISSIONE COMANDO "
        "=======================================",
        "Mando COMANDO a/",
        "    SENDFULL : COMMAND - Invoco SendTCP",
        "             SENDTCP : Trasmetto la stringa (a/)",
        "                       WINSOCK - Arrivato (\x02"
        "00/00/00/00\x03)",
        "             SENDTCP : Ricevuto risposta status ACK (\x02"
        "00/00/00/00\x03)",
        "             SENDTCP : Ciclato 1 volte in attesa della risposta",
        "    SENDFULL : COMMAND - PostAction = 0",
        "================================== FINE TRASMISSIONE COMANDO "
        "==================================",
    };
    EXPECT_EQ(rig.trace.log, expected);
    EXPECT_EQ(rig.trace.lines, std::vector<std::string>{" --> a/"});
}

TEST(NetworkSend, TimeoutIsLoggedBeforeTheResend) {
    Rig rig;
    rig.socket.script = {Silence(), Reply("00")};
    rig.send("c");
    EXPECT_TRUE(Contains(rig.trace.log, "             SENDTCP : timeout "));
    EXPECT_TRUE(Contains(rig.trace.log,
                         "    SENDFULL : COMMAND - rilevo Uscita per timeout, attendo 500msec e "
                         "riprovo"));
}

}  // namespace
}  // namespace zelmar::link::testing
