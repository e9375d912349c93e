#include "sim/core/serial_engine.h"

#include <gtest/gtest.h>

#include "sim/engine_test_helpers.h"

namespace ecrsim {
namespace {

const std::string kEnqByte(1, kEnq), kAckByte(1, kAck), kNakByte(1, kNak), kCanByte(1, kCan);

// CAN is silent and abandons a partial frame; a runaway frame gets a NAK.
TEST(SimSerialEngine, EnquiryAndCommandExchangeAlsoInPiecesAndAfterACan) {
    EngineRig r;
    EXPECT_EQ(r.serialExchange(kEnqByte), kAckByte);
    EXPECT_EQ(r.serialExchange(Frame("t/")), Frame("00/00/00/06122026/103000/"));
    EXPECT_EQ(r.serialExchange(kAckByte), "");
    std::string answer;
    for (const char byte : Frame("U//")) answer += r.serialExchange(std::string(1, byte));
    EXPECT_EQ(answer, Frame("00/00/00/"));  // answered once, after the last byte
    EXPECT_EQ(r.serialExchange("\x02U/") + r.serialExchange(kCanByte + "79\x03"), "");
    EXPECT_EQ(r.serialExchange("\x02" + std::string(2000, 'A') + "\x03").substr(0, 1), kNakByte);
    EXPECT_EQ(r.model.journal().lines(), (std::vector<std::string>{"t", "U/"}));
}

// A NAK gets the last answer again (spoiled answers are spoiled on resends too) without
// executing the command again; after the ACK there is nothing to repeat.
TEST(SimSerialEngine, NakRepeatsTheAnswerUntilAcked) {
    EngineRig r({"badsum:1", "short:1"});
    const std::string good = Frame(RegisterModel().execute("a").text());
    EXPECT_NE(r.serialExchange(Frame("a/")), good);
    EXPECT_EQ(r.serialExchange(kNakByte), Frame("00/"));
    EXPECT_EQ(r.serialExchange(kNakByte), good);
    EXPECT_EQ(r.serialExchange(kNakByte), good);
    r.serialExchange(kAckByte);
    EXPECT_EQ(r.serialExchange(kNakByte), "");
    EXPECT_EQ(r.model.journal().lines().size(), 1u);
}

}  // namespace
}  // namespace ecrsim
