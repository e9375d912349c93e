#include "platform/qt/qt_tcp_socket.h"

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QTcpServer>

#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

class QtTcpSocketTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureQtApp();
        ASSERT_TRUE(server_.listen(QHostAddress::LocalHost));
        socket_.onDataArrival = [this] { received_ += socket_.readAvailable(); };
        socket_.onError = [this](int number, const std::string&) { errors_.push_back(number); };
    }
    QTcpSocket* connectAndAccept() {
        socket_.connectToHost("127.0.0.1", server_.serverPort());
        EXPECT_EQ(socket_.state(), TcpSocket::kConnecting);
        PumpUntil(loop_, [&] {
            return socket_.state() == TcpSocket::kConnected && server_.hasPendingConnections();
        });
        return server_.nextPendingConnection();
    }

    QtEventLoop loop_;
    QTcpServer server_;
    QtTcpSocket socket_;
    std::string received_;
    std::vector<int> errors_;
};

TEST_F(QtTcpSocketTest, CarriesDataBothWaysAndReportsThePeersCloseAs10053) {
    QTcpSocket* peer = connectAndAccept();
    ASSERT_NE(peer, nullptr);
    EXPECT_EQ(socket_.state(), TcpSocket::kConnected);

    ASSERT_TRUE(socket_.send("1/0/0/"));
    QByteArray atPeer;
    PumpUntil(loop_, [&] {
        atPeer += peer->readAll();
        return atPeer.size() >= 6;
    });
    EXPECT_EQ(atPeer, "1/0/0/");

    peer->write(
        "\x02"
        "0/0/0/12\x03");
    ASSERT_TRUE(PumpUntil(loop_, [&] { return received_.size() >= 10; }));
    EXPECT_EQ(received_,
              "\x02"
              "0/0/0/12\x03");

    peer->disconnectFromHost();
    ASSERT_TRUE(PumpUntil(loop_, [&] { return !errors_.empty(); }));
    EXPECT_EQ(errors_, std::vector<int>({10053}));
    EXPECT_NE(socket_.state(), TcpSocket::kConnected);
    socket_.close();
    EXPECT_EQ(socket_.state(), TcpSocket::kClosed);
    EXPECT_FALSE(socket_.send("x"));
}

TEST_F(QtTcpSocketTest, ARefusedPortGives10061AndTheErrorState) {
    const quint16 port = server_.serverPort();
    server_.close();  // nothing listens there now
    socket_.connectToHost("127.0.0.1", port);
    ASSERT_TRUE(PumpUntil(loop_, [&] { return !errors_.empty(); }));
    EXPECT_EQ(errors_, std::vector<int>({10061}));
    EXPECT_EQ(socket_.state(), TcpSocket::kError);
    socket_.close();
    EXPECT_EQ(socket_.state(), TcpSocket::kClosed);
}

TEST(QtTcpSocketErrors, QtErrorsMapToWinsockNumbers) {
    const std::pair<QAbstractSocket::SocketError, int> cases[] = {
        {QAbstractSocket::RemoteHostClosedError, 10053},
        {QAbstractSocket::SocketTimeoutError, 10060},
        {QAbstractSocket::ConnectionRefusedError, 10061},
        {QAbstractSocket::HostNotFoundError, 11001},
        {QAbstractSocket::NetworkError, 10050},
        {QAbstractSocket::UnknownSocketError, 10050},
    };
    for (const auto& [error, number] : cases) {
        EXPECT_EQ(QtTcpSocket::WinsockNumber(error), number) << error;
    }
}

}  // namespace
}  // namespace zelmar::platform
