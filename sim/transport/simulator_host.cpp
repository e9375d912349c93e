#include "sim/transport/simulator_host.h"

#include "sim/core/serial_engine.h"
#include "sim/transport/pty_endpoint.h"
#include "sim/transport/tcp_endpoint.h"

namespace ecrsim {
namespace {
const std::string kNoDevice;
}

SimulatorHost::SimulatorHost() : model_(std::make_unique<RegisterModel>()) {}

SimulatorHost::~SimulatorHost() {
    stop();
}

bool SimulatorHost::start(const SimOptions& options, std::string& error) {
    stop();
    model_ = std::make_unique<RegisterModel>(options.config);
    faults_ = options.faults;
    if (!options.journalPath.empty() && !model_->journal().openFile(options.journalPath)) {
        error = "cannot write the journal " + options.journalPath;
        return false;
    }
    if (options.serial) {
        serialEngine_ = std::make_unique<SerialEngine>(*model_, faults_);
        serialEngine_->setAnswerDelay(options.delayMs);
        pty_ = std::make_unique<PtyEndpoint>(*serialEngine_);
        pty_->onDropped = [this] {
            if (onSerialDropped) onSerialDropped();
        };
        if (!pty_->open(options.linkPath, error)) {
            stop();
            return false;
        }
    }
    if (options.tcpPort >= 0) {
        tcp_ = std::make_unique<TcpEndpoint>(*model_, faults_, options.delayMs);
        if (!tcp_->listen(options.tcpPort, error)) {
            stop();
            return false;
        }
    }
    return true;
}

void SimulatorHost::stop() {
    tcp_.reset();
    pty_.reset();
    serialEngine_.reset();
}

const std::string& SimulatorHost::serialDevice() const {
    if (pty_) return pty_->devicePath();
    return kNoDevice;
}

int SimulatorHost::tcpPort() const {
    return tcp_ ? tcp_->port() : -1;
}

}  // namespace ecrsim
