// clang-format off: Winsock's header has to come before <windows.h>.
#include <winsock2.h>
// clang-format on

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/win32_tcp_socket.h"
#include "support/pump_until.h"

namespace zelmar::platform {
namespace {

// A listening socket on loopback, on a port the system picks.
class Listener {
  public:
    Listener() {
        WSADATA data{};
        WSAStartup(MAKEWORD(2, 2), &data);
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        bind(socket_, reinterpret_cast<sockaddr*>(&address), length);
        listen(socket_, 1);
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~Listener() {
        closesocket(socket_);
        WSACleanup();
    }
    int port() const { return port_; }
    // The peer of a connection under way; a receive waits at most 5 s.
    SOCKET accept() {
        const SOCKET peer = ::accept(socket_, nullptr, nullptr);
        const DWORD bound = 5000;
        setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&bound),
                   sizeof bound);
        return peer;
    }

  private:
    SOCKET socket_;
    int port_ = 0;
};

// The network transport reads Winsock numbers: the peer's close is 10053, a refusal 10061.
TEST(Win32TcpSocket, CarriesDataBothWaysAndReportsCloseAndRefusalByWinsockNumber) {
    Win32EventLoop loop;
    Listener listener;
    Win32TcpSocket socket(loop);
    std::vector<int> errors;
    int arrivals = 0;
    socket.onError = [&](int number, const std::string&) { errors.push_back(number); };
    socket.onDataArrival = [&] { ++arrivals; };
    socket.connectToHost("127.0.0.1", listener.port());
    EXPECT_EQ(socket.state(), TcpSocket::State::kConnecting);
    const SOCKET peer = listener.accept();
    ASSERT_TRUE(
        testing::PumpUntil(loop, [&] { return socket.state() == TcpSocket::State::kConnected; }));

    ASSERT_EQ(::send(peer, "\x02RC/00/\x03", 8, 0), 8);
    ASSERT_TRUE(testing::PumpUntil(loop, [&] { return arrivals > 0; }));
    EXPECT_EQ(socket.readAvailable(), "\x02RC/00/\x03");
    ASSERT_TRUE(socket.send("1/3"));
    char received[8] = {};
    EXPECT_EQ(recv(peer, received, sizeof received, 0), 3);
    EXPECT_STREQ(received, "1/3");

    closesocket(peer);
    ASSERT_TRUE(testing::PumpUntil(loop, [&] { return !errors.empty(); }));
    EXPECT_EQ(errors, std::vector<int>({10053}));
    EXPECT_EQ(socket.state(), TcpSocket::State::kError);
    socket.close();
    EXPECT_EQ(socket.state(), TcpSocket::State::kClosed);
    EXPECT_FALSE(socket.send("x"));

    const int freePort = Listener().port();  // nothing listens there once it is gone
    errors.clear();
    socket.connectToHost("127.0.0.1", freePort);
    ASSERT_TRUE(testing::PumpUntil(loop, [&] { return !errors.empty(); }));
    EXPECT_EQ(errors, std::vector<int>({10061}));
    EXPECT_EQ(socket.state(), TcpSocket::State::kError);
}

}  // namespace
}  // namespace zelmar::platform
