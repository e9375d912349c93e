#pragma once

#include <functional>
#include <memory>
#include <string>

#include "sim/core/fault_script.h"
#include "sim/core/register_model.h"
#include "sim/core/sim_options.h"

namespace ecrsim {

class PtyEndpoint;
class SerialEngine;
class TcpEndpoint;

// A whole simulated register on the running Qt event loop (a QCoreApplication must exist):
// the model, its faults and the transports the options ask for. ecrsim is a thin shell around
// it; the program's demo mode runs one in-process and opens serialDevice().
class SimulatorHost {
  public:
    SimulatorHost();
    ~SimulatorHost();

    // False, with a message, when the journal, the pseudo-terminal or the TCP port cannot be
    // set up; nothing is left running then.
    bool start(const SimOptions& options, std::string& error);
    void stop();

    const std::string& serialDevice() const;  // empty without a pseudo-terminal
    int tcpPort() const;                      // -1 without TCP

    RegisterModel& model() { return *model_; }  // replaced by start()
    FaultScript& faults() { return faults_; }
    // Called when a scripted drop has taken the pseudo-terminal away.
    std::function<void()> onSerialDropped;

  private:
    std::unique_ptr<RegisterModel> model_;
    FaultScript faults_;
    std::unique_ptr<SerialEngine> serialEngine_;
    std::unique_ptr<PtyEndpoint> pty_;
    std::unique_ptr<TcpEndpoint> tcp_;
};

}  // namespace ecrsim
