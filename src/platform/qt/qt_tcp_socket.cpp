#include "platform/qt/qt_tcp_socket.h"

namespace zelmar::platform {

// Winsock error numbers for the failures Qt reports.
namespace winsock {
constexpr int kAccessDenied = 10013;           // WSAEACCES
constexpr int kOperationNotSupported = 10045;  // WSAEOPNOTSUPP
constexpr int kAddressInUse = 10048;           // WSAEADDRINUSE
constexpr int kAddressNotAvailable = 10049;    // WSAEADDRNOTAVAIL
constexpr int kNetworkDown = 10050;            // WSAENETDOWN: every failure without a closer match
constexpr int kConnectionAborted = 10053;      // WSAECONNABORTED
constexpr int kNoBuffers = 10055;              // WSAENOBUFS
constexpr int kTimedOut = 10060;               // WSAETIMEDOUT
constexpr int kConnectionRefused = 10061;      // WSAECONNREFUSED
constexpr int kHostNotFound = 11001;           // WSAHOST_NOT_FOUND
}  // namespace winsock

int QtTcpSocket::WinsockNumber(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::RemoteHostClosedError:
            return winsock::kConnectionAborted;
        case QAbstractSocket::SocketTimeoutError:
            return winsock::kTimedOut;
        case QAbstractSocket::ConnectionRefusedError:
            return winsock::kConnectionRefused;
        case QAbstractSocket::HostNotFoundError:
            return winsock::kHostNotFound;
        case QAbstractSocket::SocketAccessError:
            return winsock::kAccessDenied;
        case QAbstractSocket::UnsupportedSocketOperationError:
            return winsock::kOperationNotSupported;
        case QAbstractSocket::AddressInUseError:
            return winsock::kAddressInUse;
        case QAbstractSocket::SocketAddressNotAvailableError:
            return winsock::kAddressNotAvailable;
        case QAbstractSocket::SocketResourceError:
            return winsock::kNoBuffers;
        default:
            return winsock::kNetworkDown;
    }
}

QtTcpSocket::QtTcpSocket() {
    QObject::connect(&socket_, &QTcpSocket::readyRead, [this] {
        if (onDataArrival) onDataArrival();
    });
    QObject::connect(
        &socket_, &QTcpSocket::errorOccurred, [this](QAbstractSocket::SocketError error) {
            failed_ = true;
            if (onError) {
                onError(WinsockNumber(error), socket_.errorString().toLocal8Bit().toStdString());
            }
        });
}

void QtTcpSocket::connectToHost(const std::string& host, int port) {
    socket_.abort();
    failed_ = false;
    socket_.connectToHost(QString::fromLocal8Bit(host.c_str()), static_cast<quint16>(port));
}

TcpSocket::State QtTcpSocket::state() const {
    switch (socket_.state()) {
        case QAbstractSocket::HostLookupState:
        case QAbstractSocket::ConnectingState:
            return State::kConnecting;
        case QAbstractSocket::ConnectedState:
            return State::kConnected;
        case QAbstractSocket::ClosingState:
            return State::kClosing;
        default:
            return failed_ ? State::kError : State::kClosed;
    }
}

void QtTcpSocket::close() {
    socket_.abort();  // like Winsock's Close: drops what was not sent
    failed_ = false;
}

bool QtTcpSocket::send(const std::string& bytes) {
    if (socket_.state() != QAbstractSocket::ConnectedState) return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (socket_.write(bytes.data(), size) != size) return false;
    socket_.flush();  // out now rather than at the next loop pass
    return true;
}

std::string QtTcpSocket::readAvailable() {
    return socket_.readAll().toStdString();
}

}  // namespace zelmar::platform
