#include "sim/core/serial_engine.h"

#include <gtest/gtest.h>

#include "sim/engine_test_helpers.h"

namespace ecrsim {
namespace {

const std::string kEnqByte(1, kEnq), kAckByte(1, kAck), kNakByte(1, kNak), kCanByte(1, kCan);

TEST(SimSerialEngine, EnquiryAndCommandExchangeAlsoInPieces) {
    EngineRig r;
    EXPECT_EQ(r.serialExchange(kEnqByte), kAckByte);
    EXPECT_EQ(r.serialExchange(CommandFrame("t")), Frame("00/00/00/06122026/103000/"));
    EXPECT_EQ(r.serialExchange(kAckByte), "");
    std::string answer;
    for (const char byte : CommandFrame("U/")) answer += r.serialExchange(std::string(1, byte));
    EXPECT_EQ(answer, Frame("00/00/00/"));  // answered once, after the last byte
    EXPECT_EQ(r.model.journal().lines(), (std::vector<std::string>{"t", "U/"}));
}

TEST(SimSerialEngine, MalformedFramesAreRefusedWithNak) {
    EngineRig r;
    for (const auto& frame : {
             std::string("\x02U//78\x03"),                           // wrong checksum
             std::string("\x02U/\x03"),                              // no checksum
             std::string("\x02U79\x03"),                             // no "/" before the checksum
             std::string("\x02") + std::string(2000, 'A') + "\x03",  // runaway frame
         }) {
        EXPECT_EQ(r.serialExchange(frame).substr(0, 1), kNakByte);
    }
    EXPECT_TRUE(r.model.journal().lines().empty());
}

TEST(SimSerialEngine, NakRepeatsTheAnswerUntilAcked) {
    EngineRig r;
    const std::string answer = r.serialExchange(CommandFrame("a"));
    EXPECT_EQ(r.serialExchange(kNakByte), answer);
    EXPECT_EQ(r.serialExchange(kNakByte), answer);
    r.serialExchange(kAckByte);
    EXPECT_EQ(r.serialExchange(kNakByte), "");        // settled: nothing to repeat
    EXPECT_EQ(r.model.journal().lines().size(), 1u);  // repeats do not execute again
}

TEST(SimSerialEngine, CanIsSilentAndAbandonsAPartialFrame) {
    EngineRig r;
    EXPECT_EQ(r.serialExchange(kCanByte), "");
    EXPECT_EQ(r.serialExchange("\x02U/"), "");
    EXPECT_EQ(r.serialExchange(kCanByte + "79\x03"), "");
    EXPECT_EQ(r.serialExchange(CommandFrame("U/")), Frame("00/00/00/"));
}

TEST(SimSerialEngine, SpoiledAnswersAreSentRightAfterNak) {
    EngineRig r({"badsum:1", "short:1"});
    EXPECT_NE(r.serialExchange(CommandFrame("a")), Frame(r.model.execute("a").text()));
    EXPECT_EQ(r.serialExchange(kNakByte), Frame("00/"));
    const std::string third = r.serialExchange(kNakByte);
    EXPECT_EQ(third.substr(0, 10), std::string("\x02"
                                               "00/00/00/"));
    EXPECT_TRUE(CheckFrameBody(third.substr(1, third.size() - 2)).has_value());
}

TEST(SimSerialEngine, DropKillsTheLineUntilRestored) {
    EngineRig r({"drop@1"});
    EXPECT_EQ(r.serialExchange(CommandFrame("U/")), Frame("00/00/00/"));
    const Outputs dropped = r.serial.receive(CommandFrame("U/"));
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_TRUE(dropped[0].dropLink);
    EXPECT_TRUE(r.serial.linkDropped());
    EXPECT_EQ(r.serialExchange(kEnqByte + CommandFrame("U/")), "");
    r.serial.restoreLink();
    EXPECT_EQ(r.serialExchange(kEnqByte), kAckByte);
}

}  // namespace
}  // namespace ecrsim
