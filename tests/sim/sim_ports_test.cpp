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

TEST_F(SimPortsTest, SerialRepliesArriveOnVirtualTimeAndNeverAtAClosedPort) {
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
}

TEST_F(SimPortsTest, PortDestroyedBeforeItsRepliesIsSafe) {
    {
        SimSerialPort port(loop, rig.serial);
        port.open();
        port.write("\x05");
        SimTcpSocket socket(loop, rig.tcp);
        socket.connectToHost("127.0.0.1", 9100);
    }
    loop.advance(100);  // must not touch the destroyed objects
}

class SimTcpSocketTest : public SimPortsTest {
  protected:
    SimTcpSocketTest() {
        socket.onDataArrival = [this] { arrivals.push_back(socket.readAvailable()); };
        socket.onError = [this](int number, const std::string&) { errors.push_back(number); };
    }
    void connect() {
        socket.connectToHost("127.0.0.1", 9100);
        EXPECT_EQ(socket.state(), platform::TcpSocket::kConnecting);
        loop.pumpOnce();
        ASSERT_EQ(socket.state(), platform::TcpSocket::kConnected);
    }

    SimTcpSocket socket{loop, rig.tcp};
    std::vector<std::string> arrivals;
    std::vector<int> errors;
};

TEST_F(SimTcpSocketTest, ReplyArrivesAfterTheDelayButNotOnALaterConnection) {
    rig.tcp.setAnswerDelay(200);
    connect();
    ASSERT_TRUE(socket.send("U//"));
    loop.advance(199);
    EXPECT_TRUE(arrivals.empty());
    loop.advance(1);
    EXPECT_EQ(arrivals, std::vector<std::string>{Frame("00/00/00/")});
    EXPECT_EQ(socket.sent(), "U//");

    socket.send("U//");
    socket.close();
    connect();
    loop.advance(500);
    EXPECT_EQ(arrivals.size(), 1u);
}

TEST_F(SimTcpSocketTest, SplitReplyArrivesAsSeveralEvents) {
    rig.fault("split=3");
    connect();
    socket.send("a/");
    loop.advance(1000);
    ASSERT_EQ(arrivals.size(), 3u);
    EXPECT_EQ(arrivals[0] + arrivals[1] + arrivals[2], Frame(rig.model.execute("a").text()));
}

}  // namespace
}  // namespace zelmar::testing
