#pragma once

#include <QTcpServer>
#include <string>

#include "sim/core/fault_script.h"
#include "sim/core/register_model.h"

namespace ecrsim {

// The register's network side: a listening socket on 127.0.0.1; every connection gets its own
// TcpEngine over the shared register model and fault script.
class TcpEndpoint : public QObject {
  public:
    TcpEndpoint(RegisterModel& model, FaultScript& faults, int answerDelayMs);

    bool listen(int port, std::string& error);  // port 0: an ephemeral one
    int port() const { return server_.serverPort(); }

  private:
    void onNewConnection();

    RegisterModel& model_;
    FaultScript& faults_;
    int answerDelayMs_;
    QTcpServer server_;
};

}  // namespace ecrsim
