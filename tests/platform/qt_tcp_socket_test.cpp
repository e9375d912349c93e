#include "platform/qt/qt_tcp_socket.h"

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QTcpServer>

#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

TEST(QtTcpSocket, CarriesDataBothWaysAndReportsThePeersCloseAs10053AndARefusalAs10061) {
    EnsureQtApp();
    QtEventLoop loop;
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QtTcpSocket socket;
    std::string received;
    std::vector<int> errors;
    socket.onDataArrival = [&] { received += socket.readAvailable(); };
    socket.onError = [&](int number, const std::string&) { errors.push_back(number); };
    socket.connectToHost("127.0.0.1", server.serverPort());
    EXPECT_EQ(socket.state(), TcpSocket::State::kConnecting);
    ASSERT_TRUE(PumpUntil(loop, [&] {
        return socket.state() == TcpSocket::State::kConnected && server.hasPendingConnections();
    }));
    QTcpSocket* peer = server.nextPendingConnection();

    ASSERT_TRUE(socket.send("1/0/0/"));
    QByteArray atPeer;
    PumpUntil(loop, [&] { return (atPeer += peer->readAll()).size() >= 6; });
    EXPECT_EQ(atPeer, "1/0/0/");
    const std::string frame = std::string(1, '\x02') + "0/0/0/12\x03";
    peer->write(frame.c_str());
    ASSERT_TRUE(PumpUntil(loop, [&] { return received.size() >= frame.size(); }));
    EXPECT_EQ(received, frame);

    peer->disconnectFromHost();
    ASSERT_TRUE(PumpUntil(loop, [&] { return !errors.empty(); }));
    EXPECT_EQ(errors, std::vector<int>({10053}));
    socket.close();
    EXPECT_EQ(socket.state(), TcpSocket::State::kClosed);
    EXPECT_FALSE(socket.send("x"));

    const quint16 port = server.serverPort();
    server.close();  // nothing listens there now
    errors.clear();
    socket.connectToHost("127.0.0.1", port);
    ASSERT_TRUE(PumpUntil(loop, [&] { return !errors.empty(); }));
    EXPECT_EQ(errors, std::vector<int>({10061}));
    EXPECT_EQ(socket.state(), TcpSocket::State::kError);
}

}  // namespace
}  // namespace zelmar::platform
