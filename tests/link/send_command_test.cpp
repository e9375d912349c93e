#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "link/link_rig.h"

namespace zelmar::link::testing {
namespace {

const std::string kOk = Answer("00/00/00/");
const std::string kBusy = Answer("1A/00/00/");
const std::string kBadChecksum = std::string("\x02") + "00/00/00/99\x03";
const std::string kSilence;

std::deque<std::string> Repeat(const std::string& reply, int times) {
    return std::deque<std::string>(times, reply);
}

struct Scenario {
    const char* name;
    std::string model;
    ReplyScript toEnq, toFrame, toNak;
    int result, frames, naksSent;
    std::int64_t minMs, maxMs;
};

void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

class SendCommandScenario : public ::testing::TestWithParam<Scenario> {};

TEST_P(SendCommandScenario, EndsWithTheExpectedResultInBoundedTime) {
    const Scenario& s = GetParam();
    LinkRig rig;
    rig.session.reg.ModelCode = s.model;
    rig.port.toEnq = s.toEnq;
    rig.port.toFrame = s.toFrame;
    rig.port.toNak = s.toNak;
    EXPECT_EQ(rig.send("U/"), s.result);
    EXPECT_EQ(static_cast<int>(rig.port.frames.size()), s.frames);
    EXPECT_EQ(rig.port.naks, s.naksSent);
    EXPECT_GE(rig.elapsedMs, s.minMs);
    EXPECT_LE(rig.elapsedMs, s.maxMs);
}

const ReplyScript kAcks{{}, Bytes(kAck)};
const ReplyScript kAnswersOk{{}, kOk};
const ReplyScript kNothing{{}, kSilence};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Serial, SendCommandScenario, ::testing::Values(
    //       name                                  model toEnq  toFrame                                    toNak  result frames naks  minMs  maxMs
    Scenario{"Accepted",                            "", kAcks, kAnswersOk,                                 kNothing, 1,  1,  0,     0,    100},
    Scenario{"AcceptedCodes6And15",                 "", kAcks, {{Answer("06/00/00/")}, Answer("15/00/00/")}, kNothing, 1, 1, 0,    0,    100},
    Scenario{"ThreeSilentEnquiriesNoFrame",         "", kNothing, kAnswersOk,                              kNothing, 0,  0,  0,  9000,   9000},
    Scenario{"AckWithNakCountsAsAck",               "", {{}, "\x06\x15"}, kAnswersOk,                      kNothing, 1,  1,  0,     0,    100},
    Scenario{"NakToEnquiryThenAck",                 "", {{Bytes(kNak)}, Bytes(kAck)}, kAnswersOk,          kNothing, 1,  1,  0,     0,    100},
    Scenario{"ShortFrameGetsNakEvenWithGoodChecksum", "", kAcks, {{Answer("00/00")}, kOk},                 {{kOk}, ""}, 1, 1, 1,    0,    100},
    Scenario{"BadChecksumGetsNak",                  "", kAcks, {{kBadChecksum}, kOk},                      {{kOk}, ""}, 1, 1, 1,    0,    100},
    Scenario{"FrameWithoutEtxThenSilenceIsResent",  "", kAcks, {{"\x02" "00/00/00/"}, kOk},                 kNothing, 1,  2,  0, 13000,  13100},
    Scenario{"RegisterNakResendsAfter400ms",        "", kAcks, {{Bytes(kNak)}, kOk},                       kNothing, 1,  2,  0,   400,    500},
    Scenario{"RegisterNakResendsAfter1000msOnVt", "VT", kAcks, {{Bytes(kNak)}, kOk},                       kNothing, 1,  2,  0,  1000,   1100},
    Scenario{"SilenceCutsTheBudgetToThree",         "", kAcks, kNothing,                                   kNothing, -1, 4,  0, 12000,  12100},
    Scenario{"RefusedCode",                         "", kAcks, {{}, Answer("10/00/00/")},                  kNothing, -1, 1,  0,     0,    100},
    Scenario{"Busy165TimesThenAccepted",            "", kAcks, {Repeat(kBusy, 165), kOk},                  kNothing, 1, 166, 0, 165 * 200, 165 * 200 + 2000},
    Scenario{"Busy166TimesGivesMinus9",             "", kAcks, {{}, kBusy},                                kNothing, -9, 166, 0, 165 * 200 + 100, 166 * 200 + 2000},
    Scenario{"BusyOnCeIs0E",                      "CE", kAcks, {Repeat(Answer("0E/00/00/"), 3), kOk},      kNothing, 1,  4,  0,   600,    700},
    Scenario{"0EIsARefusalElsewhere",               "", kAcks, {Repeat(Answer("0E/00/00/"), 3), kOk},      kNothing, -1, 1,  0,     0,    100},
    Scenario{"DeviceStatusBit0RetriesAtOnce",       "", kAcks, {Repeat(Answer("20/01/00/"), 2), kOk},      kNothing, 1,  3,  0,     0,    100},
    Scenario{"DeviceStatusBit0StopsWithTheBudget",  "", kAcks, {{}, Answer("20/01/00/")},                  kNothing, -1, 50, 0,     0,   2000},
    // Loops the register could otherwise keep going for ever.
    Scenario{"CorruptAnswersEndWithTheBudget",      "", kAcks, {{}, kBadChecksum},                         {{}, kBadChecksum}, -1, 1, 50, 0, 1000},
    Scenario{"NakAfterBusySpentTheBudget",          "", kAcks, {Repeat(kBusy, 60), Bytes(kNak)},           kNothing, -1, 61, 0, 60 * 200, 60 * 200 + 1000},
    Scenario{"FreeImmediateRetriesAreBounded",      "", kAcks, {{}, Answer("32/01/00/")},                  kNothing, -1, 51, 0,     0,   2000},
    Scenario{"PaperEndThatNeverClearsGivesUp",      "", kAcks, {{}, Answer("31/01/00/")},                  kNothing, -1, 589, 0, 300000, 301000}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(SendCommand, PaperEndWritesE104OnceAndDeletesItWhenPaperIsBack) {
    LinkRig rig;
    rig.port.toFrame = {Repeat(Answer("31/01/00/"), 3), kOk};
    EXPECT_EQ(rig.send("U/"), 1);
    EXPECT_EQ(std::count(rig.files.writes.begin(), rig.files.writes.end(), rig.errFile()), 1);
    EXPECT_FALSE(std::filesystem::exists(rig.errFile()));
    EXPECT_GE(rig.elapsedMs, 3 * 500 + 2000);
}

TEST(SendCommand, PaperEndKeepsE104WhileThePaperStaysOut) {
    LinkRig rig;
    rig.port.toFrame = {{}, Answer("31/01/00/")};
    EXPECT_EQ(rig.send("U/"), -1);
    std::vector<std::string> lines;
    ASSERT_TRUE(rig.files.readLines(rig.errFile(), lines));
    EXPECT_EQ(lines, std::vector<std::string>{"E104: Fine carta scontrino, sostituire il rotolo"});
}

TEST(SendCommand, HeadingRefusedAsShortIsRebuiltOnce) {
    const struct {
        std::string model;
        std::vector<std::string> answers;
        int result;
        std::string rebuilt;
    } cases[] = {
        {"", {Answer("01/00/00/"), kOk}, 1, "j/ROSSIL4/L5/L6//"},
        {"BZ", {Answer("01/00/00/"), kOk}, 1, "j/ROSSIL4/L5/L6/ / / //"},
        {"", {Answer("01/00/00/"), Answer("01/00/00/"), kOk}, -1, "j/ROSSIL4/L5/L6//"},
    };
    for (const auto& c : cases) {
        LinkRig rig;
        rig.session.reg.ModelCode = c.model;
        rig.session.conv.InvoiceHeader = {"L1", "L2", "L3", "L4", "L5", "L6", "L7"};
        rig.port.toFrame = {{c.answers.begin(), c.answers.end()}, kOk};
        EXPECT_EQ(rig.send("j/ROSSI/"), c.result);
        EXPECT_EQ(rig.lastCommand, c.rebuilt);
        EXPECT_EQ(rig.port.frames, (std::vector<std::string>{"j/ROSSI/", c.rebuilt}));
    }
}

TEST(SendCommand, TracesEachAttemptAndTheLastGoodAnswer) {
    LinkRig rig;
    rig.port.toFrame = {{kBusy}, kOk};
    EXPECT_EQ(rig.send("U/"), 1);
    EXPECT_EQ(rig.trace.lines, (std::vector<std::string>{" --> U/", " <-- 1A/00/00/91", " --> U/",
                                                         " <-- 00/00/00/73"}));
}

TEST(SendCommand, BytesWithoutStxAreTracedAsNak) {
    LinkRig rig;
    rig.port.toFrame = {{"?"}, kOk};
    rig.send("U/");
    EXPECT_EQ(rig.trace.lines.at(1), " <-- Nack Received: ");
}

TEST(SendCommand, RaisedTimeoutFlagEndsTheWaitInProgress) {
    LinkRig rig;
    rig.port.toEnq = {{}, kSilence};
    rig.loop.postDelayed(1000, [&] { rig.session.link.TimeoutFlag = true; });
    EXPECT_EQ(rig.send("U/"), 0);
    EXPECT_EQ(rig.elapsedMs, 1000 + 3000 + 3000);
}

TEST(SendCommand, BabbleWithoutEtxEndsWithinAMinute) {
    LinkRig rig;
    rig.port.babble = "\x06\x02";  // an ACK for every ENQ, then a frame start for ever
    rig.port.toEnq = {{}, kSilence};
    rig.port.toFrame = {{}, kSilence};
    EXPECT_EQ(rig.send("U/"), -1);
    EXPECT_EQ(rig.port.frames.size(), 1u);
    EXPECT_EQ(rig.elapsedMs, 4 * 10000);
}

TEST(SendCommand, VanishedRegisterFailsWithoutWaiting) {
    LinkRig rig;
    rig.port.failWrites = true;
    EXPECT_EQ(rig.send("U/"), 0);
    EXPECT_EQ(rig.elapsedMs, 0);
}

TEST(SendCommand, ClosedPortIsRefusedAtOnce) {
    LinkRig rig;
    rig.link.CloseConnection();
    EXPECT_EQ(rig.send("U/"), -1);
    EXPECT_EQ(rig.port.enqs, 0);
}

TEST(SendCommand, VtDrainsTheLineAfterThreeUnansweredEnquiries) {
    LinkRig rig;
    rig.session.reg.ModelCode = "VT";
    rig.port.toEnq = {{}, "?"};
    EXPECT_EQ(rig.send("U/"), 0);
    EXPECT_EQ(rig.elapsedMs, 3 * 5 + 500);
}

TEST(OpenComPort, UsesTheDeviceOfTheSlotAndOnlyTheProbeOpensAndCloses) {
    LinkRig rig;  // its connection is open
    rig.link.CloseConnection();
    EXPECT_TRUE(rig.link.OpenComPort(3));
    EXPECT_FALSE(rig.link.OpenComPort(5));
    EXPECT_EQ(rig.port.configured.back(), "/dev/ttyS2");
    EXPECT_FALSE(rig.link.PortOpen());
    EXPECT_EQ(rig.port.opens, 1);

    EXPECT_TRUE(rig.link.ProbeComPort(2));
    EXPECT_FALSE(rig.link.ProbeComPort(5));
    EXPECT_EQ(rig.port.configured.back(), "/dev/ttyS1");
    EXPECT_FALSE(rig.link.PortOpen());
    EXPECT_EQ(rig.port.opens, 2);

    rig.session.CurrentSlot = 4;
    EXPECT_TRUE(rig.link.OpenPort());  // a job's port: configured and opened once
    EXPECT_EQ(rig.port.configured.back(), "/dev/ttyS3");
    EXPECT_EQ(rig.port.opens, 3);
}

class FakeNetwork : public NetworkTransport {
  public:
    int result = 1;
    std::string reply;
    std::vector<std::string> sent;
    int sendCommand(const std::string& command) override {
        sent.push_back(command);
        return result;
    }
    const std::string& rawReply() const override { return reply; }
    void open() override {}
    void close() override {}
    int socketState() const override { return 7; }
    void initialise() override {}
};

TEST(SendCommand, NetworkPathDecodesTheRawReply) {
    const struct {
        int transportResult;
        std::string reply;
        int result;
        std::string responseText;
    } cases[] = {
        {1, Answer("00/00/00/"), 1, "00/00/00/"},
        {1, Answer("10/00/00/"), -1, "10/00/00/"},
        {0,
         "\x02"
         "00/\x03",
         0, ""},  // too short to read: the transport's result stands
    };
    for (const auto& c : cases) {
        LinkRig rig;
        FakeNetwork network;
        network.result = c.transportResult;
        network.reply = c.reply;
        rig.session.options.OptionRete = true;
        rig.link.setNetwork(&network);
        EXPECT_EQ(rig.send("U/"), c.result) << c.reply;
        EXPECT_EQ(rig.session.link.ResponseText, c.responseText);
        EXPECT_EQ(network.sent, std::vector<std::string>{"U/"});
        EXPECT_EQ(rig.port.enqs, 0);
    }
}

}  // namespace
}  // namespace zelmar::link::testing
