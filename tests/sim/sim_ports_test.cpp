#include <gtest/gtest.h>

#include "sim/core/frame.h"
#include "support/sim_serial_port.h"
#include "support/sim_tcp_socket.h"

namespace zelmar::testing {
namespace {

using ecrsim::Frame;

class SimPortsTest : public ::testing::Test {
  protected:
    void script(const std::string& ruleText) {
        std::string error;
        ASSERT_TRUE(faults.add(ruleText, error)) << error;
    }

    platform::FakeEventLoop loop;
    ecrsim::RegisterModel model;
    ecrsim::FaultScript faults;
};

TEST_F(SimPortsTest, SerialRepliesArriveOnVirtualTime) {
    ecrsim::SerialEngine engine(model, faults);
    engine.setAnswerDelay(200);
    SimSerialPort port(loop, engine);
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
}

TEST_F(SimPortsTest, SerialRepliesToAClosedPortAreLost) {
    ecrsim::SerialEngine engine(model, faults);
    SimSerialPort port(loop, engine);
    port.open();
    port.write("\x05");
    port.close();
    loop.advance(10);
    EXPECT_TRUE(port.open());
    EXPECT_EQ(port.readAvailable(), "");
    EXPECT_EQ(port.openCount(), 2);
}

TEST_F(SimPortsTest, SerialDropMakesTheDeviceGo) {
    script("drop");
    ecrsim::SerialEngine engine(model, faults);
    SimSerialPort port(loop, engine);
    port.open();
    EXPECT_TRUE(port.write(Frame("U//")));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write("\x05"));
    EXPECT_FALSE(port.open());
    engine.restoreLink();
    EXPECT_TRUE(port.open());
    port.setPresent(false);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(SimPortsTest, PortDestroyedBeforeItsRepliesIsSafe) {
    ecrsim::SerialEngine engine(model, faults);
    ecrsim::TcpEngine tcp(model, faults);
    {
        SimSerialPort port(loop, engine);
        port.open();
        port.write("\x05");
        SimTcpSocket socket(loop, tcp);
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

    ecrsim::TcpEngine engine{model, faults};
    SimTcpSocket socket{loop, engine};
    std::vector<std::string> arrivals;
    std::vector<int> errors;
};

TEST_F(SimTcpSocketTest, ReplyArrivesAfterTheDelay) {
    engine.setAnswerDelay(200);
    connect();
    ASSERT_TRUE(socket.send("U//"));
    loop.advance(199);
    EXPECT_TRUE(arrivals.empty());
    loop.advance(1);
    EXPECT_EQ(arrivals, std::vector<std::string>{Frame("00/00/00/")});
    EXPECT_EQ(socket.sent(), "U//");
}

TEST_F(SimTcpSocketTest, SplitReplyArrivesAsSeveralEvents) {
    script("split=3");
    connect();
    socket.send("a/");
    loop.advance(1000);
    ASSERT_EQ(arrivals.size(), 3u);
    EXPECT_EQ(arrivals[0] + arrivals[1] + arrivals[2], Frame(model.execute("a").text()));
}

TEST_F(SimTcpSocketTest, DroppedConnectionReportsAbortAndRefusesSends) {
    script("drop");
    connect();
    socket.send("U//");
    loop.advance(10);
    EXPECT_EQ(socket.state(), platform::TcpSocket::kClosed);
    EXPECT_EQ(errors, std::vector<int>{SimTcpSocket::kConnectionAborted});
    EXPECT_FALSE(socket.send("U//"));
    connect();  // the register takes a new connection
    EXPECT_TRUE(socket.send("U//"));
    loop.advance(10);
    EXPECT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(socket.connectCount(), 2);
}

TEST_F(SimTcpSocketTest, RepliesOfAClosedConnectionNeverArrive) {
    engine.setAnswerDelay(200);
    connect();
    socket.send("U//");
    socket.close();
    connect();
    loop.advance(500);
    EXPECT_TRUE(arrivals.empty());
}

TEST_F(SimTcpSocketTest, UnreachableRegisterRefusesTheConnection) {
    socket.setReachable(false);
    socket.connectToHost("127.0.0.1", 9100);
    loop.pumpOnce();
    EXPECT_EQ(socket.state(), platform::TcpSocket::kClosed);
    EXPECT_EQ(errors, std::vector<int>{SimTcpSocket::kConnectionRefused});
    EXPECT_FALSE(socket.send("U//"));
}

}  // namespace
}  // namespace zelmar::testing
