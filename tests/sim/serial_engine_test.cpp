#include "sim/core/serial_engine.h"

#include <gtest/gtest.h>

#include "sim/core/frame.h"

namespace ecrsim {
namespace {

const std::string kEnqByte(1, kEnq), kAckByte(1, kAck), kNakByte(1, kNak), kCanByte(1, kCan);

// The driver's framing of a command line: STX, line, "/", checksum of both, ETX.
std::string CommandFrame(const std::string& line) {
    return Frame(line + "/");
}

std::string Joined(const Outputs& outputs) {
    std::string bytes;
    for (const auto& output : outputs) bytes += output.bytes;
    return bytes;
}

class SerialEngineTest : public ::testing::Test {
  protected:
    std::string exchange(const std::string& bytes) { return Joined(engine.receive(bytes)); }
    void script(const std::string& ruleText) {
        std::string error;
        ASSERT_TRUE(faults.add(ruleText, error)) << error;
    }

    static RegisterConfig FixedClock() {
        RegisterConfig config;
        config.date = "06122026";
        config.time = "103000";
        return config;
    }

    RegisterModel model{FixedClock()};
    FaultScript faults;
    SerialEngine engine{model, faults};
};

TEST_F(SerialEngineTest, EnquiryAndCommandExchange) {
    EXPECT_EQ(exchange(kEnqByte), kAckByte);
    EXPECT_EQ(exchange(CommandFrame("t")), Frame("00/00/00/06122026/103000/"));
    EXPECT_EQ(exchange(kAckByte), "");
    EXPECT_EQ(model.journal().lines(), std::vector<std::string>{"t"});
}

TEST_F(SerialEngineTest, FrameArrivingInPiecesIsAnsweredOnce) {
    const std::string frame = CommandFrame("U/");
    std::string answer;
    for (const char byte : frame) answer += exchange(std::string(1, byte));
    EXPECT_EQ(answer, Frame("00/00/00/"));
}

TEST_F(SerialEngineTest, MalformedFramesAreRefusedWithNak) {
    const std::string bad[] = {
        std::string("\x02U//78\x03"),                           // wrong checksum
        std::string("\x02U/\x03"),                              // no checksum
        std::string("\x02U79\x03"),                             // no "/" before the checksum
        std::string("\x02") + std::string(2000, 'A') + "\x03",  // runaway frame
    };
    for (const auto& frame : bad) {
        EXPECT_EQ(exchange(frame).substr(0, 1), kNakByte);
    }
    EXPECT_TRUE(model.journal().lines().empty());
}

TEST_F(SerialEngineTest, NakRepeatsTheAnswerUntilAcked) {
    const std::string answer = exchange(CommandFrame("a"));
    EXPECT_EQ(exchange(kNakByte), answer);
    EXPECT_EQ(exchange(kNakByte), answer);
    exchange(kAckByte);
    EXPECT_EQ(exchange(kNakByte), "");              // settled: nothing to repeat
    EXPECT_EQ(model.journal().lines().size(), 1u);  // repeats do not execute again
}

TEST_F(SerialEngineTest, CanIsSilentAndAbandonsAPartialFrame) {
    EXPECT_EQ(exchange(kCanByte), "");
    EXPECT_EQ(exchange("\x02U/"), "");
    EXPECT_EQ(exchange(kCanByte + "79\x03"), "");
    EXPECT_EQ(exchange(CommandFrame("U/")), Frame("00/00/00/"));
}

TEST_F(SerialEngineTest, AnswerDelayAppliesToFramesOnly) {
    engine.setAnswerDelay(200);
    const Outputs ack = engine.receive(kEnqByte);
    ASSERT_EQ(ack.size(), 1u);
    EXPECT_EQ(ack[0].delayMs, 0);
    const Outputs answer = engine.receive(CommandFrame("U/"));
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_EQ(answer[0].delayMs, 200);
}

// Each fault kind: what the driver sees for ENQ + frame, then for the same frame again.
TEST_F(SerialEngineTest, FaultKinds) {
    const std::string frame = CommandFrame("U/");
    const std::string good = Frame("00/00/00/");
    struct Case {
        std::string ruleText, model, first, second;
    } cases[] = {
        {"nak:1", "AB", kAckByte + kNakByte, good},
        {"silent:1", "AB", kAckByte, good},
        {"busy:1", "AB", kAckByte + Frame("1A/00/00/"), good},
        {"busy:1", "CE", kAckByte + Frame("0E/00/00/"), good},
        {"paper:1", "AB", kAckByte + Frame("31/05/00/"), good},
        {"fault:1", "AB", kAckByte + Frame("2E/00/00/"), good},
        {"again:1=32", "AB", kAckByte + Frame("32/01/00/"), good},
        {"refuse:1=09,U", "AB", kAckByte + Frame("09/00/00/"), good},
        {"refuse:1=09,X", "AB", kAckByte + good, good},
        {"badsum:1", "AB",
         kAckByte + std::string("\x02"
                                "00/00/00/74\x03"),
         good},
        {"short:1", "AB", kAckByte + Frame("00/"), good},
        {"noack:1", "AB", good, good},
        {"busy:2@1", "AB", kAckByte + good, Frame("1A/00/00/")},
    };
    for (const auto& c : cases) {
        RegisterConfig config;
        config.model = c.model;
        RegisterModel model(config);
        FaultScript faults;
        std::string error;
        ASSERT_TRUE(faults.add(c.ruleText, error)) << error;
        SerialEngine engine(model, faults);
        EXPECT_EQ(Joined(engine.receive(kEnqByte + frame)), c.first) << c.ruleText;
        EXPECT_EQ(Joined(engine.receive(frame)), c.second) << c.ruleText;
    }
}

TEST_F(SerialEngineTest, SpoiledAnswersAreSentRightAfterNak) {
    script("badsum:1");
    script("short:1");
    const std::string first = exchange(CommandFrame("a"));
    EXPECT_NE(first, Frame(model.execute("a").text()));
    EXPECT_EQ(exchange(kNakByte), Frame("00/"));
    const std::string third = exchange(kNakByte);
    EXPECT_EQ(third.substr(0, 10), std::string("\x02"
                                               "00/00/00/"));
    EXPECT_TRUE(CheckFrameBody(third.substr(1, third.size() - 2)).has_value());
}

TEST_F(SerialEngineTest, DropKillsTheLineUntilRestored) {
    script("drop@1");
    EXPECT_EQ(exchange(CommandFrame("U/")), Frame("00/00/00/"));
    const Outputs dropped = engine.receive(CommandFrame("U/"));
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_TRUE(dropped[0].dropLink);
    EXPECT_TRUE(engine.linkDropped());
    EXPECT_EQ(exchange(kEnqByte + CommandFrame("U/")), "");
    engine.restoreLink();
    EXPECT_EQ(exchange(kEnqByte), kAckByte);
}

TEST_F(SerialEngineTest, FaultedCommandsAreNotExecuted) {
    script("busy:1");
    script("paper:1");
    script("nak:1");
    for (int i = 0; i < 5; ++i) exchange(CommandFrame("3/S/PANE//1/1.00/1/22.00"));
    EXPECT_EQ(model.journal().lines().size(), 2u);  // the fourth and fifth frames only
}

}  // namespace
}  // namespace ecrsim
