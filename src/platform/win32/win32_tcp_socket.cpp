// clang-format off: Winsock's header has to come before <windows.h>.
#include <winsock2.h>
#include <ws2tcpip.h>
// clang-format on

#include <utility>

#include "platform/win32/win32_tcp_socket.h"

namespace zelmar::platform {
namespace {

// Reads per data event; the rest of a flood raises the next event.
constexpr int kMaxReadsPerEvent = 16;
// How long a send may wait for room in the system's buffer.
constexpr std::int64_t kSendBoundMs = 2000;

// Winsock is started once and stays up until the process ends.
bool WinsockReady() {
    static const bool ready = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return ready;
}

SOCKET AsSocket(std::uintptr_t value) {
    return static_cast<SOCKET>(value);
}

std::string Description(int number) {
    char text[256] = {};
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(number), 0, text, sizeof text, nullptr);
    std::string description(text, length);
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r' ||
                                    description.back() == ' ' || description.back() == '.')) {
        description.pop_back();
    }
    return description.empty() ? "Winsock error " + std::to_string(number) : description;
}

}  // namespace

Win32TcpSocket::Win32TcpSocket(Win32EventLoop& loop) : loop_(loop), socket_(INVALID_SOCKET) {}

Win32TcpSocket::~Win32TcpSocket() {
    release();
}

void Win32TcpSocket::connectToHost(const std::string& host, int port) {
    close();
    int error = 0;
    if (startConnect(host, port, error)) {
        state_ = State::kConnecting;
        return;
    }
    // Reported from the loop, as a failure found later would be.
    release();
    state_ = State::kError;
    std::weak_ptr<int> alive = token_;
    loop_.postDelayed(0, [this, alive, error] {
        if (alive.lock()) fail(error);
    });
}

void Win32TcpSocket::close() {
    release();
    state_ = State::kClosed;
    received_.clear();
    token_ = std::make_shared<int>(0);
}

bool Win32TcpSocket::send(const std::string& bytes) {
    if (state_ != State::kConnected) return false;
    const std::int64_t deadline = loop_.nowMs() + kSendBoundMs;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const int count = ::send(AsSocket(socket_), bytes.data() + sent,
                                 static_cast<int>(bytes.size() - sent), 0);
        if (count > 0) {
            sent += static_cast<std::size_t>(count);
            continue;
        }
        const std::int64_t left = deadline - loop_.nowMs();
        if (WSAGetLastError() != WSAEWOULDBLOCK || left <= 0) return false;
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(AsSocket(socket_), &writable);
        timeval bound{static_cast<long>(left / 1000), static_cast<long>(left % 1000 * 1000)};
        if (select(0, nullptr, &writable, nullptr, &bound) <= 0) return false;
    }
    return true;
}

std::string Win32TcpSocket::readAvailable() {
    return std::exchange(received_, {});
}

bool Win32TcpSocket::startConnect(const std::string& host, int port, int& error) {
    if (!WinsockReady()) {
        error = WSASYSNOTREADY;
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* address = nullptr;
    error = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &address);
    if (error != 0) return false;
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owned(address, freeaddrinfo);
    const SOCKET handle = ::socket(address->ai_family, address->ai_socktype, address->ai_protocol);
    if (handle == INVALID_SOCKET) {
        error = WSAGetLastError();
        return false;
    }
    socket_ = handle;
    // Sockets are inherited by default; the ping's child process must not hold the register's.
    SetHandleInformation(reinterpret_cast<HANDLE>(handle), HANDLE_FLAG_INHERIT, 0);
    event_ = WSACreateEvent();
    if (event_ == WSA_INVALID_EVENT) {
        event_ = nullptr;
        error = WSAGetLastError();
        return false;
    }
    // Also makes the socket non-blocking.
    if (WSAEventSelect(handle, event_, FD_CONNECT | FD_READ | FD_CLOSE) != 0 ||
        (::connect(handle, address->ai_addr, static_cast<int>(address->ai_addrlen)) != 0 &&
         WSAGetLastError() != WSAEWOULDBLOCK)) {
        error = WSAGetLastError();
        return false;
    }
    if (!loop_.watchHandle(event_, [this] { onNetworkEvents(); })) {
        error = WSAENOBUFS;
        return false;
    }
    return true;
}

void Win32TcpSocket::onNetworkEvents() {
    WSANETWORKEVENTS events{};
    if (WSAEnumNetworkEvents(AsSocket(socket_), event_, &events) != 0) {
        fail(WSAGetLastError());
        return;
    }
    if (events.lNetworkEvents & FD_CONNECT) {
        if (events.iErrorCode[FD_CONNECT_BIT] != 0) {
            fail(events.iErrorCode[FD_CONNECT_BIT]);
            return;
        }
        state_ = State::kConnected;
    }
    const std::weak_ptr<int> alive = token_;
    if (events.lNetworkEvents & (FD_READ | FD_CLOSE)) receive();
    // The data handler may have closed or reconnected this socket.
    if (alive.expired()) return;
    if (events.lNetworkEvents & FD_CLOSE) fail(WSAECONNABORTED);  // any close by the peer
}

// Takes what has arrived and tells the data handler.
void Win32TcpSocket::receive() {
    char buffer[4096];
    bool arrived = false;
    for (int reads = 0; reads < kMaxReadsPerEvent; ++reads) {
        const int count = recv(AsSocket(socket_), buffer, sizeof buffer, 0);
        if (count <= 0) break;  // nothing more now, the peer's end, or an error its event reports
        received_.append(buffer, static_cast<std::size_t>(count));
        arrived = true;
    }
    const auto onData = onDataArrival;
    if (arrived && onData) onData();
}

void Win32TcpSocket::fail(int number) {
    release();
    state_ = State::kError;
    const auto onFailure = onError;
    if (onFailure) onFailure(number, Description(number));
}

// Closes the socket at once: unsent data is dropped and the peer sees a reset.
void Win32TcpSocket::release() {
    if (event_) {
        loop_.unwatch(event_);
        WSACloseEvent(event_);
        event_ = nullptr;
    }
    if (AsSocket(socket_) != INVALID_SOCKET) {
        const linger abortive{1, 0};
        setsockopt(AsSocket(socket_), SOL_SOCKET, SO_LINGER,
                   reinterpret_cast<const char*>(&abortive), sizeof abortive);
        closesocket(AsSocket(socket_));
        socket_ = INVALID_SOCKET;
    }
}

}  // namespace zelmar::platform
