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
};

TEST_F(OneExchangeTest, AJobOnAnotherSlotNeverUsesTheOpenPort) {
    // Slot 1's port was left open (a failed read); slot 3's job must not go over it.
    ASSERT_TRUE(link.PortOpen());
    session.CurrentSlot = 3;
    EXPECT_FALSE(link.PortOpen());
    EXPECT_EQ(send("3/S/PANE"), SendResult::kRefused);  // not opened yet: nothing is written
    EXPECT_TRUE(port.frames.empty());

    ASSERT_TRUE(link.OpenPort());
    EXPECT_EQ(send("3/S/PANE"), SendResult::kAccepted);
    session.CurrentSlot = 1;
    EXPECT_EQ(send("a"), SendResult::kRefused);  // and slot 1 no longer has a port
    EXPECT_EQ(port.opened, Lines{"dev3"});
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
    EXPECT_EQ(elapsedMs, 0);
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
    EXPECT_EQ(port.frames, (Lines{"5/1/", "5/1/", "9"}));
    EXPECT_TRUE(std::any_of(trace.lines.begin(), trace.lines.end(), [](const std::string& l) {
        return l.find("late answer dropped") != std::string::npos;
    }));
}

}  // namespace
}  // namespace zelmar::link::testing
