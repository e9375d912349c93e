#include "sim/transport/tcp_endpoint.h"

#include <QTcpSocket>
#include <memory>

#include "sim/core/tcp_engine.h"
#include "sim/transport/scheduled_output.h"

namespace ecrsim {

TcpEndpoint::TcpEndpoint(RegisterModel& model, FaultScript& faults, int answerDelayMs)
    : model_(model), faults_(faults), answerDelayMs_(answerDelayMs) {
    connect(&server_, &QTcpServer::newConnection, this, &TcpEndpoint::onNewConnection);
}

bool TcpEndpoint::listen(int port, std::string& error) {
    if (server_.listen(QHostAddress::LocalHost, static_cast<quint16>(port))) return true;
    error = "TCP port " + std::to_string(port) + ": " + server_.errorString().toStdString();
    return false;
}

void TcpEndpoint::onNewConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        // Without Nagle every reply segment leaves at once, so a split reply stays split.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        auto engine = std::make_shared<TcpEngine>(model_, faults_);
        engine->setAnswerDelay(answerDelayMs_);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [socket, engine] {
            const QByteArray data = socket->readAll();
            ScheduleOutputs(
                engine->receive(std::string_view(data.constData(), data.size())), socket,
                [socket](const std::string& bytes) {
                    socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
                    socket->flush();
                },
                [socket] { socket->disconnectFromHost(); });
        });
    }
}

}  // namespace ecrsim
