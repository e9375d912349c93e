#include <gtest/gtest.h>

#include "sim/engine_test_helpers.h"
#include "support/sim_serial_port.h"
#include "support/sim_tcp_socket.h"

namespace zelmar::testing {
namespace {

using ecrsim::Frame;

TEST(SimPorts, SerialRepliesArriveOnVirtualTimeAndNeverAtAClosedOrDestroyedPort) {
    platform::FakeEventLoop loop;
    ecrsim::EngineRig rig;
    rig.serial.setAnswerDelay(200);
    SimSerialPort port(loop, rig.serial);
    ASSERT_TRUE(port.configure("/dev/ttyS0", 9600) && port.open());
    ASSERT_TRUE(port.write(Frame("U//")));
    EXPECT_EQ(port.readAvailable(), "");  // nothing before the loop runs
    loop.pumpWait(3000);
    EXPECT_EQ(loop.nowMs(), 200);
    EXPECT_EQ(port.readAvailable(), Frame("00/00/00/"));

    port.write("\x05");
    port.close();
    loop.advance(300);
    EXPECT_TRUE(port.open());
    EXPECT_EQ(port.readAvailable(), "");
    {
        SimSerialPort gone(loop, rig.serial);
        gone.open();
        gone.write("\x05");
        SimTcpSocket socket(loop, rig.tcp);
        socket.connectToHost("127.0.0.1", 9100);
    }
    loop.advance(300);  // replies to destroyed ports must not touch them
}

// The driver's split-reply handling is only exercised if each segment is its own event.
TEST(SimPorts, TcpRepliesArriveInTheirSegmentsOnlyOnTheirConnection) {
    platform::FakeEventLoop loop;
    ecrsim::EngineRig rig;
    SimTcpSocket socket(loop, rig.tcp);
    std::vector<std::string> arrivals;
    socket.onDataArrival = [&] { arrivals.push_back(socket.readAvailable()); };
    socket.connectToHost("127.0.0.1", 9100);
    EXPECT_EQ(socket.state(), platform::TcpSocket::State::kConnecting);
    loop.pumpOnce();
    ASSERT_EQ(socket.state(), platform::TcpSocket::State::kConnected);
    socket.send("U//");
    socket.close();  // that reply is lost with its connection
    socket.connectToHost("127.0.0.1", 9100);
    loop.pumpOnce();
    rig.fault("split=3");
    socket.send("a/");
    loop.advance(1000);
    ASSERT_EQ(arrivals.size(), 3u);
    EXPECT_EQ(arrivals[0] + arrivals[1] + arrivals[2], Frame(rig.model.execute("a").text()));
}

}  // namespace
}  // namespace zelmar::testing
