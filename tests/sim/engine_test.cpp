#include <gtest/gtest.h>

#include "sim/core/frame.h"
#include "sim/core/serial_engine.h"
#include "sim/core/tcp_engine.h"
#include "support/sim_tcp_socket.h"

namespace ecrsim {
namespace {

using Lines = std::vector<std::string>;
const std::string kEnqByte(1, kEnq), kAckByte(1, kAck), kNakByte(1, kNak);

struct EngineRig {
    static RegisterConfig Config(const std::string& modelName) {
        RegisterConfig config;
        config.model = modelName;
        return config;
    }
    explicit EngineRig(const Lines& rules = {}, const std::string& modelName = "AB")
        : model(Config(modelName)) {
        for (const auto& rule : rules) fault(rule);
    }
    void fault(const std::string& rule) {
        std::string error;
        EXPECT_TRUE(faults.add(rule, error)) << error;
    }
    std::string exchange(bool tcp, const std::string& input) {
        std::string bytes;
        for (const auto& out : tcp ? this->tcp.receive(input) : serial.receive(input)) {
            bytes += out.bytes;
        }
        return bytes;
    }

    RegisterModel model;
    FaultScript faults;
    SerialEngine serial{model, faults};
    TcpEngine tcp{model, faults};
};

// A NAK gets the answer again, spoiled again, until the ACK; the command runs once.
TEST(SimEngines, NakResendsTheSpoiledAnswer) {
    EngineRig r({"badsum:1", "short:1"});
    EXPECT_EQ(r.exchange(false, Frame("U//")), std::string(1, kStx) + "00/00/00/74" + kEtx);
    EXPECT_EQ(r.exchange(false, kNakByte), Frame("00/"));
    EXPECT_EQ(r.exchange(false, kNakByte), Frame("00/00/00/"));
    EXPECT_EQ(r.exchange(false, kAckByte), "");
    EXPECT_EQ(r.exchange(false, kNakByte), "");
    EXPECT_EQ(r.model.journal().lines(), Lines{"U/"});
}

// Serial: ENQ with a sale's frame, then the frame again. TCP: the sale, then a status poll.
TEST(SimEngines, FaultKindsOnEachLine) {
    const std::string sale = "3/S/X//1/1.00/1/22.00/";
    const std::string ack(1, kAck), nak(1, kNak), open = Frame("00/00/04/");
    const std::string badSum = std::string(1, kStx) + "00/00/04/78" + kEtx;  // 77 is right
    const struct {
        std::string rule, model, serialFirst, serialSecond, tcpReply;
        std::size_t serialRuns, tcpRuns;
    } cases[] = {
        {"nak", "AB", ack + nak, open, open, 1, 2},  // serial only: the TCP sale goes through
        {"noack", "AB", open, open, open, 2, 2},     // no ACK to the ENQ, the frame is served
        {"silent", "AB", ack, open, "", 1, 1},
        {"lost", "AB", ack, open, "", 2, 2},  // executed, unanswered; the resend runs again
        {"lost=5/", "AB", ack + open, open, open, 2, 2},  // only a payment's answer is lost
        {"busy", "AB", ack + Frame("1A/00/00/"), open, Frame("1A/00/00/"), 1, 1},
        {"paper", "AB", ack + Frame("31/05/00/"), open, Frame("2C/32/00/"), 1, 1},
        {"fault", "AB", ack + Frame("2E/00/00/"), open, Frame("2E/00/00/"), 1, 1},
        {"again=32", "AB", ack + Frame("32/01/00/"), open, Frame("32/01/00/"), 1, 1},
        {"refuse=09,3/S", "AB", ack + Frame("09/00/00/"), open, Frame("09/00/00/"), 1, 1},
        {"badsum", "AB", ack + badSum, open, badSum, 2, 2},
        {"short", "AB", ack + Frame("00/"), open, Frame("00/"), 2, 2},
        {"drop", "AB", ack, "", "", 0, 1},  // the serial line stays dead; TCP serves a new one
        {"busy:2@1", "AB", ack + open, Frame("1A/00/04/"), open, 1, 1},  // receipt open
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule + " on " + c.model);
        EngineRig serial({c.rule}, c.model);
        EXPECT_EQ(serial.exchange(false, kEnqByte + Frame(sale)), c.serialFirst);
        EXPECT_EQ(serial.exchange(false, Frame(sale)), c.serialSecond);
        EXPECT_EQ(serial.model.journal().lines().size(), c.serialRuns);
        EXPECT_EQ(serial.serial.linkDropped(), c.rule == "drop");
        EngineRig tcp({c.rule}, c.model);
        EXPECT_EQ(tcp.exchange(true, sale), c.tcpReply);
        tcp.exchange(true, "?/");
        EXPECT_EQ(tcp.model.journal().lines().size(), c.tcpRuns);
    }
}

}  // namespace
}  // namespace ecrsim

namespace zelmar::testing {
namespace {

using ecrsim::Frame;

// Replies never reach a destroyed port nor a later connection; a split reply comes in
// segments, each its own event.
TEST(SimPorts, RepliesArriveOnVirtualTimeOnlyWhereTheyBelong) {
    platform::FakeEventLoop loop;
    ecrsim::EngineRig rig;
    std::vector<std::string> arrivals;
    {
        SimTcpSocket socket(loop, rig.tcp);
        socket.onDataArrival = [&] { arrivals.push_back(socket.readAvailable()); };
        socket.connectToHost("127.0.0.1", 9100);
        EXPECT_EQ(socket.state(), platform::TcpSocket::State::kConnecting);
        loop.pumpOnce();
        ASSERT_EQ(socket.state(), platform::TcpSocket::State::kConnected);
        socket.send("U//");
        socket.send("3/S/A");  // a partial command does not survive the connection
        socket.close();        // nor does the reply
        socket.connectToHost("127.0.0.1", 9100);
        loop.pumpOnce();
        rig.fault("split=3");
        socket.send("a/");
        rig.tcp.setAnswerDelay(100);
        socket.send("9/");  // its reply comes after the socket is gone
        loop.advance(50);
    }
    loop.advance(1000);  // replies to destroyed ports must not touch them
    ASSERT_EQ(arrivals.size(), 3u);
    EXPECT_EQ(arrivals[0] + arrivals[1] + arrivals[2], Frame(rig.model.execute("a").text()));
}

}  // namespace
}  // namespace zelmar::testing
