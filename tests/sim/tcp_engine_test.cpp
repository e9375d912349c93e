#include "sim/core/tcp_engine.h"

#include <gtest/gtest.h>

#include "sim/engine_test_helpers.h"

namespace ecrsim {
namespace {

// What the driver's network path does with a reply: drop the first character and the last
// three, then read the status fields at positions 1, 4 and 7 of the raw reply.
TEST(SimTcpEngine, ReplyShapeMatchesTheDriversReadingAndCommandsEndAtTheSlash) {
    EngineRig r;
    const std::string reply = r.tcpExchange("a/");
    EXPECT_EQ(reply, Frame("00/00/00/72123456/0/AB/ECRSIM AB/"));
    EXPECT_EQ(reply.substr(1, 2) + reply.substr(4, 2) + reply.substr(7, 2), "000000");

    // The command is the line before the slash the driver appends.
    EXPECT_EQ(r.tcpExchange("U//"), Frame("00/00/00/"));
    EXPECT_EQ(r.tcpExchange("9"), "");  // waits for the closing "/"
    EXPECT_EQ(r.tcpExchange("/"), Frame("00/00/00/0/0/0/0/0/0/"));
    EXPECT_EQ(r.tcpExchange("?/"), Frame("00/00/00/"));  // the status poll
    EXPECT_EQ(r.tcpExchange("/"), Frame("06/00/00/"));   // an empty command
    EXPECT_EQ(r.model.journal().lines(), (std::vector<std::string>{"a", "U/", "9", "?"}));
    r.tcpExchange("3/S/A");
    r.tcp.connectionOpened();  // a partial command does not survive a reconnection
    r.tcpExchange("9//");
    EXPECT_EQ(r.model.journal().lines().back(), "9/");
    EXPECT_EQ(r.tcpExchange(std::string(1500, 'A')), Frame("02/00/00/"));  // overlong input
    EXPECT_EQ(r.tcpExchange("U//"), Frame("00/00/00/"));
}

}  // namespace
}  // namespace ecrsim
