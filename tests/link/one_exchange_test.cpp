// The serial port carries only the current slot's register, and one command at a time.
#include <gtest/gtest.h>

#include "link/link_rig.h"

namespace zelmar::link::testing {
namespace {

class OneExchangeTest : public ::testing::Test, public LinkRig {
  protected:
    OneExchangeTest() {
        link.CloseConnection();
        session.PortDevice = {"dev1", "dev2", "dev3", "dev4"};
        link.OpenConnection();
        port.opened.clear();
    }
    SendResult sendOn(int slot, const std::string& command) {
        session.CurrentSlot = slot;
        return send(command);
    }
};

TEST_F(OneExchangeTest, AJobOnAnotherSlotNeverUsesTheOpenPort) {
    // Slot 1's port was left open (a failed read); slot 3's job must not go over it.
    ASSERT_TRUE(link.PortOpen());
    session.CurrentSlot = 3;
    EXPECT_FALSE(link.PortOpen());
    EXPECT_EQ(send("3/S/PANE"),
              SendResult::kRefused);  // not opened yet: nothing is written anywhere
    EXPECT_TRUE(port.frames.empty());

    ASSERT_TRUE(link.OpenPort());
    EXPECT_EQ(send("3/S/PANE"), SendResult::kAccepted);
    EXPECT_EQ(sendOn(1, "a"), SendResult::kRefused);  // and slot 1 no longer has a port
    EXPECT_EQ(port.opened, (std::vector<std::string>{"dev3"}));
    EXPECT_EQ(port.framesOn, (std::vector<std::string>{"dev3"}));
    EXPECT_FALSE(link.WriteRaw("\x18"));  // the unframed write follows the same rule
}

TEST_F(OneExchangeTest, ProbingAnotherSlotClosesTheOpenPortFirst) {
    EXPECT_TRUE(link.ProbeComPort(2));
    EXPECT_EQ(port.opened, (std::vector<std::string>{"dev2"}));
    session.CurrentSlot = 1;
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
    EXPECT_EQ(port.frames, (std::vector<std::string>{"3/S/PANE", "3/S/PANE"}));
    EXPECT_EQ(send("+"), SendResult::kAccepted);  // afterwards the link is free again
}

// The register answers the payment after the time-out: the line is sent again (and carried
// out twice), but the late answer is dropped and never taken for the next command's.
TEST_F(OneExchangeTest, ALateAnswerIsDroppedNotShiftedOntoTheNextCommand) {
    port.toFrame = {{Answer("00/00/00/LATE/"), Answer("00/00/00/RESENT/"), Answer("00/00/00/9/")},
                    ""};
    port.frameDelays = {3200, 400};  // the answer to the resent line comes after the late one
    EXPECT_EQ(send("5/1/"), SendResult::kAccepted);
    EXPECT_EQ(session.link.ResponseText.substr(0, 16), "00/00/00/RESENT/");
    EXPECT_EQ(send("9"), SendResult::kAccepted);
    EXPECT_EQ(session.link.ResponseText.substr(0, 11), "00/00/00/9/");
    EXPECT_EQ(port.frames, (std::vector<std::string>{"5/1/", "5/1/", "9"}));
    EXPECT_NE(std::find_if(trace.lines.begin(), trace.lines.end(),
                           [](const std::string& l) { return l.find("late answer") != l.npos; }),
              trace.lines.end());
}

TEST_F(OneExchangeTest, NoCommandStartsOnceTheProgramIsEnding) {
    session.link.ExchangeAborted = true;
    EXPECT_EQ(send("9"), SendResult::kNoContact);
    EXPECT_TRUE(port.frames.empty());
    EXPECT_EQ(elapsedMs, 0);
}

}  // namespace
}  // namespace zelmar::link::testing
