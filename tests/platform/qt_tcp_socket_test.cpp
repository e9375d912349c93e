#include "platform/qt/qt_tcp_socket.h"

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QTcpServer>

#include "platform/qt/qt_event_loop.h"
#include "qt_test_app.h"
#include "support/pump_until.h"

namespace zelmar::platform {
namespace {

// The network transport reads Winsock numbers: the peer's close is 10053, a refusal 10061.
TEST(QtTcpSocket, ReportsThePeersCloseAs10053AndARefusalAs10061) {
    EnsureQtApp();
    QtEventLoop loop;
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QtTcpSocket socket;
    std::vector<int> errors;
    socket.onError = [&](int number, const std::string&) { errors.push_back(number); };
    socket.connectToHost("127.0.0.1", server.serverPort());
    ASSERT_TRUE(testing::PumpUntil(loop, [&] {
        return socket.state() == TcpSocket::State::kConnected && server.hasPendingConnections();
    }));
    server.nextPendingConnection()->disconnectFromHost();
    ASSERT_TRUE(testing::PumpUntil(loop, [&] { return !errors.empty(); }));
    EXPECT_EQ(errors, std::vector<int>({10053}));
    socket.close();
    EXPECT_FALSE(socket.send("x"));

    const quint16 port = server.serverPort();
    server.close();  // nothing listens there now
    errors.clear();
    socket.connectToHost("127.0.0.1", port);
    ASSERT_TRUE(testing::PumpUntil(loop, [&] { return !errors.empty(); }));
    EXPECT_EQ(errors, std::vector<int>({10061}));
    EXPECT_EQ(socket.state(), TcpSocket::State::kError);
}

}  // namespace
}  // namespace zelmar::platform
