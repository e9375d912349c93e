#include <gtest/gtest.h>

#include <algorithm>

#include "link/link_rig.h"

namespace zelmar::link::testing {
namespace {

const std::string kOk = Answer("00/00/00/");
const std::string kBusy = Answer("1A/00/00/");
const std::string kPaperOut = Answer("31/01/00/");
const std::string kShortHeading = Answer("01/00/00/");
const std::string kBadChecksum = std::string("\x02") + "00/00/00/99\x03";
const ReplyScript kAcks{{}, Bytes(kAck)}, kAnswersOk{{}, kOk}, kNothing{{}, ""};

using Queue = std::deque<std::string>;

struct Scenario {
    const char* name = "";
    std::string model{}, command = "U/";
    ReplyScript toEnq = kAcks, toFrame = kAnswersOk, toNak = kNothing;
    std::string babble{};
    bool failWrites = false;
    std::int64_t timeoutAtMs = -1;
    SendResult result = SendResult::kAccepted;
    int frames = 1, naks = 0;
    std::int64_t minMs = 0, maxMs = 100;
    std::string sentAs{};  // the command as last sent; empty: unchanged
    int errWrites = 0;
    Lines trace{};  // empty: not checked
};

// clang-format off
const Scenario kScenarios[] = {
    {.name = "accepted code 06", .toFrame = {{}, Answer("06/00/00/")}},
    {.name = "three silent ENQs, no frame", .toEnq = kNothing, .result = SendResult::kNoContact, .frames = 0, .minMs = 9000, .maxMs = 9000},
    {.name = "ACK with NAK counts as ACK", .toEnq = {{}, "\x06\x15"}},
    {.name = "VT drains after three unanswered ENQs", .model = "VT", .toEnq = {{}, "?"}, .result = SendResult::kNoContact, .frames = 0, .minMs = 515, .maxMs = 515},
    {.name = "frame without ETX, then resent", .toFrame = {{"\x02" "00/00/00/"}, kOk}, .frames = 2, .minMs = 14000, .maxMs = 14100},
    {.name = "register NAK, resent after 400 ms", .toFrame = {{Bytes(kNak)}, kOk}, .frames = 2, .minMs = 400, .maxMs = 500},
    {.name = "register NAK on VT, 1000 ms", .model = "VT", .toFrame = {{Bytes(kNak)}, kOk}, .frames = 2, .minMs = 1000, .maxMs = 1100},
    {.name = "silence cuts the budget to three", .toFrame = kNothing, .result = SendResult::kRefused, .frames = 4, .minMs = 16000, .maxMs = 16100},
    {.name = "165 busy, then accepted", .toFrame = {Queue(165, kBusy), kOk}, .frames = 166, .minMs = 165 * 200, .maxMs = 165 * 200 + 2000},
    {.name = "166th busy gives -9", .toFrame = {{}, kBusy}, .result = SendResult::kBusyTooLong, .frames = 166, .minMs = 165 * 200 + 100, .maxMs = 166 * 200 + 2000},
    {.name = "CE is busy on 0E", .model = "CE", .toFrame = {Queue(3, Answer("0E/00/00/")), kOk}, .frames = 4, .minMs = 600, .maxMs = 700},
    {.name = "device status bit 0 ends with the budget", .toFrame = {{}, Answer("20/01/00/")}, .result = SendResult::kRefused, .frames = 50, .maxMs = 2000},
    {.name = "corrupt answers end with the budget", .toFrame = {{}, kBadChecksum}, .toNak = {{}, kBadChecksum}, .result = SendResult::kRefused, .naks = 50, .maxMs = 1000},
    {.name = "paper end: E104 once, deleted when back", .toFrame = {Queue(3, kPaperOut), kOk}, .frames = 4, .minMs = 3 * 500 + 2000, .maxMs = 3 * 500 + 2100, .errWrites = 1},
    {.name = "paper that never comes back", .toFrame = {{}, kPaperOut}, .result = SendResult::kRefused, .frames = 589, .minMs = 300000, .maxMs = 301000, .errWrites = 1},
    {.name = "short heading rewritten once", .command = "j/ROSSI/", .toFrame = {{kShortHeading}, kOk}, .frames = 2, .sentAs = "j/ROSSIL4/L5/L6//"},
    {.name = "second short heading refused", .command = "j/ROSSI/", .toFrame = {Queue(2, kShortHeading), kOk}, .result = SendResult::kRefused, .frames = 2, .sentAs = "j/ROSSIL4/L5/L6//"},
    {.name = "TimeoutFlag ends the wait", .toEnq = kNothing, .timeoutAtMs = 1000, .result = SendResult::kNoContact, .frames = 0, .minMs = 7000, .maxMs = 7000},
    {.name = "babble without ETX", .toEnq = kNothing, .toFrame = kNothing, .babble = "\x06\x02", .result = SendResult::kRefused, .minMs = 40000, .maxMs = 40000},
    {.name = "vanished register fails at once", .failWrites = true, .result = SendResult::kNoContact, .frames = 0, .maxMs = 0},
    {.name = "each attempt traced, then the last good answer", .toFrame = {{"?", kBusy}, kOk}, .frames = 3, .minMs = 600, .maxMs = 700, .trace = {" --> U/", " <-- Nack Received: ", " <-- 1A/00/00/91", " --> U/", " <-- 00/00/00/73"}},
};
// clang-format on

TEST(SendCommand, EndsWithTheExpectedResultInBoundedTime) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.name);
        LinkRig rig;
        rig.session.reg().ModelCode = s.model;
        rig.session.conv.InvoiceHeader = {"L1", "L2", "L3", "L4", "L5", "L6", "L7"};
        rig.port.toEnq = s.toEnq;
        rig.port.toFrame = s.toFrame;
        rig.port.toNak = s.toNak;
        rig.port.babble = s.babble;
        rig.port.failWrites = s.failWrites;
        if (s.timeoutAtMs >= 0) {
            rig.loop.postDelayed(s.timeoutAtMs, [&] { rig.session.link.TimeoutFlag = true; });
        }
        EXPECT_EQ(rig.send(s.command), s.result);
        EXPECT_EQ(static_cast<int>(rig.port.frames.size()), s.frames);
        if (s.frames > 0) {
            EXPECT_EQ(rig.port.frames.back(), s.sentAs.empty() ? s.command : s.sentAs);
        }
        EXPECT_EQ(rig.port.naks, s.naks);
        EXPECT_GE(rig.elapsedMs, s.minMs);
        EXPECT_LE(rig.elapsedMs, s.maxMs);
        EXPECT_EQ(std::count(rig.files.writes.begin(), rig.files.writes.end(), rig.errFile()),
                  s.errWrites);
        EXPECT_EQ(rig.folder.has("SR_ERR.001"),
                  s.errWrites > 0 && s.result != SendResult::kAccepted);
        EXPECT_EQ(s.trace.empty() ? s.trace : rig.trace.lines, s.trace);
    }
}

class OneExchangeTest : public ::testing::Test, public LinkRig {
  protected:
    OneExchangeTest() {
        link.CloseConnection();
        session.PortDevice = {"dev1", "dev2", "dev3", "dev4"};
        link.OpenConnection();
        port.opened.clear();
    }
};

TEST_F(OneExchangeTest, AJobOnAnotherSlotNeverUsesTheOpenPort) {
    ASSERT_TRUE(link.PortOpen());
    session.CurrentSlot = 3;
    EXPECT_FALSE(link.PortOpen());
    EXPECT_EQ(send("3/S/PANE"), SendResult::kRefused);  // not opened yet: nothing is written

    ASSERT_TRUE(link.OpenPort());
    EXPECT_EQ(send("3/S/PANE"), SendResult::kAccepted);
    session.CurrentSlot = 1;
    EXPECT_EQ(send("a"), SendResult::kRefused);  // and slot 1 no longer has a port
    EXPECT_EQ(port.framesOn, Lines{"dev3"});
    EXPECT_FALSE(link.WriteRaw("\x18"));  // the unframed write follows the same rule
    EXPECT_TRUE(link.ProbeComPort(2));    // probing another slot closes the open port first
    EXPECT_EQ(port.opened, (Lines{"dev3", "dev2"}));
    session.CurrentSlot = 3;
    EXPECT_FALSE(link.PortOpen());
}

TEST_F(OneExchangeTest, ACommandStartedInsideAnotherOnesWaitIsRefused) {
    SendResult nested = SendResult::kRefused;
    port.toFrame = {{""}, Answer("00/00/00/")};  // the first answer is late: the wait pumps
    loop.postDelayed(100, [&] {
        std::string cancel = "+";
        nested = link.SendCommand(cancel);
    });
    EXPECT_EQ(send("3/S/PANE"), SendResult::kAccepted);
    EXPECT_EQ(nested, SendResult::kNoContact);
    EXPECT_EQ(port.frames, (Lines{"3/S/PANE", "3/S/PANE"}));
    EXPECT_EQ(send("+"), SendResult::kAccepted);  // afterwards the link is free again
    session.link.ExchangeAborted = true;          // and none starts once the program ends
    EXPECT_EQ(send("9"), SendResult::kNoContact);
    EXPECT_EQ(port.frames.size(), 3u);
}

// The payment's answer comes after the time-out: it is dropped, never taken for the next one.
TEST_F(OneExchangeTest, ALateAnswerIsDroppedNotShiftedOntoTheNextCommand) {
    port.toFrame = {{Answer("00/00/00/LATE/"), Answer("00/00/00/RESENT/"), Answer("00/00/00/9/")},
                    ""};
    port.frameDelays = {3200, 400};  // the answer to the resent line comes after the late one
    EXPECT_EQ(send("5/1/"), SendResult::kAccepted);
    EXPECT_EQ(session.link.ResponseText.substr(0, 16), "00/00/00/RESENT/");
    EXPECT_EQ(send("9"), SendResult::kAccepted);
    EXPECT_EQ(session.link.ResponseText.substr(0, 11), "00/00/00/9/");
    EXPECT_EQ(port.frames, (Lines{"5/1/", "5/1/", "9"}));
}

}  // namespace
}  // namespace zelmar::link::testing
