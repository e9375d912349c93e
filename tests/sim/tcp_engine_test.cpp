#include "sim/core/tcp_engine.h"

#include <gtest/gtest.h>

#include "sim/core/command_responder.h"
#include "sim/core/frame.h"

namespace ecrsim {
namespace {

std::string Joined(const Outputs& outputs) {
    std::string bytes;
    for (const auto& output : outputs) bytes += output.bytes;
    return bytes;
}

// What the driver's network path does with a reply: drop the first character and the last
// three, then read the status fields at positions 1, 4 and 7 of the raw reply.
TEST(SimTcpEngine, ReplyShapeMatchesTheDriversReading) {
    RegisterModel model;
    FaultScript faults;
    TcpEngine engine(model, faults);
    const std::string reply = Joined(engine.receive("a/"));
    ASSERT_GE(reply.size(), 8u);
    EXPECT_EQ(reply.front(), kStx);
    EXPECT_EQ(reply.back(), kEtx);
    const std::string text = reply.substr(1, reply.size() - 4);
    EXPECT_EQ(text, "00/00/00/72123456/0/AB/ECRSIM AB/");
    EXPECT_EQ(reply.substr(reply.size() - 3, 2), Checksum(text));
    EXPECT_EQ(reply.substr(1, 2), "00");
    EXPECT_EQ(reply.substr(4, 2), "00");
    EXPECT_EQ(reply.substr(7, 2), "00");
    EXPECT_EQ(model.journal().lines(), std::vector<std::string>{"a"});
}

TEST(SimTcpEngine, CommandIsTheLineBeforeTheAppendedSlash) {
    RegisterModel model;
    FaultScript faults;
    TcpEngine engine(model, faults);
    EXPECT_EQ(Joined(engine.receive("U//")), Frame("00/00/00/"));
    EXPECT_EQ(Joined(engine.receive("9")), "");  // waits for the closing "/"
    EXPECT_EQ(Joined(engine.receive("/")), Frame("00/00/00/0/0/0/0/0/0/"));
    EXPECT_EQ(Joined(engine.receive("?/")), Frame("00/00/00/"));  // the status poll
    EXPECT_EQ(Joined(engine.receive("/")), Frame("06/00/00/"));   // an empty command
    EXPECT_EQ(model.journal().lines(), (std::vector<std::string>{"U/", "9", "?"}));
    engine.receive("3/S/A");
    engine.connectionOpened();  // a partial command does not survive a reconnection
    engine.receive("9//");
    EXPECT_EQ(model.journal().lines().back(), "9/");
}

TEST(SimTcpEngine, OverlongInputIsRefused) {
    RegisterModel model;
    FaultScript faults;
    TcpEngine engine(model, faults);
    EXPECT_EQ(Joined(engine.receive(std::string(1500, 'A'))), Frame("02/00/00/"));
    EXPECT_EQ(Joined(engine.receive("U//")), Frame("00/00/00/"));
}

// Reply classes on the network: code (hex at position 1) and status (position 4).
TEST(SimTcpEngine, FaultReplies) {
    struct Case {
        std::string ruleText, model, reply;
    } cases[] = {
        {"busy:1", "CE", Frame("1A/00/00/")},  // 0x0E is no busy code on the network
        {"paper:1", "AB", Frame("2C/32/00/")},
        {"paper:1=33", "AB", Frame("33/32/00/")},
        {"fault:1", "AB", Frame("2E/00/00/")},
        {"refuse:1=09,3/", "AB", Frame("09/00/00/")},
        {"silent:1", "AB", ""},
        {"short:1", "AB", Frame("00/")},
        {"nak:1", "AB", Frame("00/00/04/")},  // serial-only kind: the sale goes through
    };
    for (const auto& c : cases) {
        RegisterConfig config;
        config.model = c.model;
        RegisterModel model(config);
        FaultScript faults;
        std::string error;
        ASSERT_TRUE(faults.add(c.ruleText, error)) << error;
        TcpEngine engine(model, faults);
        EXPECT_EQ(Joined(engine.receive("3/S/X//1/1.00/1/22.00/")), c.reply) << c.ruleText;
        EXPECT_EQ(Joined(engine.receive("?/")).substr(0, 7), std::string("\x02"
                                                                         "00/00/"))
            << c.ruleText;
    }
}

TEST(SimTcpEngine, SplitReplyComesInTimedSegments) {
    RegisterModel model;
    FaultScript faults;
    std::string error;
    ASSERT_TRUE(faults.add("split:1=3", error));
    TcpEngine engine(model, faults);
    engine.setAnswerDelay(200);
    const Outputs outputs = engine.receive("a/");
    ASSERT_EQ(outputs.size(), 3u);
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        EXPECT_EQ(outputs[i].delayMs, 200 + static_cast<int>(i) * kSplitGapMs);
        EXPECT_FALSE(outputs[i].bytes.empty());
    }
    EXPECT_EQ(Joined(outputs), Frame(model.execute("a").text()));
    EXPECT_EQ(engine.receive("a/").size(), 1u);
}

TEST(SimTcpEngine, DropClosesWithoutExecuting) {
    RegisterModel model;
    FaultScript faults;
    std::string error;
    ASSERT_TRUE(faults.add("drop", error));
    TcpEngine engine(model, faults);
    const Outputs outputs = engine.receive("U//");
    ASSERT_EQ(outputs.size(), 1u);
    EXPECT_TRUE(outputs[0].dropLink);
    EXPECT_TRUE(model.journal().lines().empty());
    EXPECT_EQ(Joined(engine.receive("U//")), Frame("00/00/00/"));
}

}  // namespace
}  // namespace ecrsim
