#include <gtest/gtest.h>

#include "sim/engine_test_helpers.h"
#include "support/sim_serial_port.h"
#include "support/sim_tcp_socket.h"

namespace zelmar::testing {
namespace {

using ecrsim::Frame;

class SimPortsTest : public ::testing::Test {
  protected:
    platform::FakeEventLoop loop;
    ecrsim::EngineRig rig;
};

TEST_F(SimPortsTest, SerialRepliesArriveOnVirtualTimeAndNeverAtAClosedOrDestroyedPort) {
    rig.serial.setAnswerDelay(200);
    SimSerialPort port(loop, rig.serial);
    ASSERT_TRUE(port.configure("/dev/ttyS0", 9600));
    ASSERT_TRUE(port.open());
    ASSERT_TRUE(port.write("\x05"));
    EXPECT_EQ(port.readAvailable(), "");  // nothing before the loop runs
    loop.pumpOnce();
    EXPECT_EQ(port.readAvailable(), "\x06");
    ASSERT_TRUE(port.write(Frame("U//")));
    loop.pumpWait(3000);
    EXPECT_EQ(loop.nowMs(), 200);
    EXPECT_EQ(port.readAvailable(), Frame("00/00/00/"));
    EXPECT_EQ(port.written(), "\x05" + Frame("U//"));

    port.write("\x05");
    port.close();
    loop.advance(10);
    EXPECT_TRUE(port.open());
    EXPECT_EQ(port.readAvailable(), "");
    EXPECT_EQ(port.openCount(), 2);
    {
        SimSerialPort gone(loop, rig.serial);
        gone.open();
        gone.write("\x05");
        SimTcpSocket socket(loop, rig.tcp);
        socket.connectToHost("127.0.0.1", 9100);
    }
    loop.advance(100);  // replies to destroyed ports must not touch them
}

// The driver's split-reply handling is only exercised if each segment is its own event.
TEST_F(SimPortsTest, TcpRepliesArriveOnVirtualTimeInTheirSegmentsOnTheirConnection) {
    SimTcpSocket socket(loop, rig.tcp);
    std::vector<std::string> arrivals;
    socket.onDataArrival = [&] { arrivals.push_back(socket.readAvailable()); };
    const auto connect = [&] {
        socket.connectToHost("127.0.0.1", 9100);
        EXPECT_EQ(socket.state(), platform::TcpSocket::kConnecting);
        loop.pumpOnce();
        EXPECT_EQ(socket.state(), platform::TcpSocket::kConnected);
    };
    rig.tcp.setAnswerDelay(200);
    connect();
    ASSERT_TRUE(socket.send("U//"));
    loop.advance(199);
    EXPECT_TRUE(arrivals.empty());
    loop.advance(1);
    EXPECT_EQ(arrivals, std::vector<std::string>{Frame("00/00/00/")});
    EXPECT_EQ(socket.sent(), "U//");

    socket.send("U//");
    socket.close();  // that reply is lost with its connection
    connect();
    rig.fault("split=3");
    socket.send("a/");
    loop.advance(1000);
    ASSERT_EQ(arrivals.size(), 4u);
    EXPECT_EQ(arrivals[1] + arrivals[2] + arrivals[3], Frame(rig.model.execute("a").text()));
}

}  // namespace
}  // namespace zelmar::testing
