#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>

#include "sim/core/serial_engine.h"

namespace ecrsim {

// The register's end of a pseudo-terminal pair. The driver opens the slave device (printed by
// ecrsim, optionally reached through a symbolic link); we read and write the master with
// notifiers on the Qt event loop. We also hold the slave open ourselves: the terminal then
// keeps its raw settings between the driver's opens, and the master never sees a hang-up
// (which would wake the read notifier endlessly).
class PtyEndpoint : public QObject {
  public:
    explicit PtyEndpoint(SerialEngine& engine);
    ~PtyEndpoint() override;

    bool open(const std::string& linkPath, std::string& error);
    const std::string& devicePath() const { return slavePath_; }
    // Called when a scripted drop has closed the pseudo-terminal for good.
    std::function<void()> onDropped;

  private:
    void onReadable();
    void send(const std::string& bytes);
    void flush();
    void closeAll();

    SerialEngine& engine_;
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::string linkPath_;
    std::string pendingOut_;
    std::unique_ptr<QSocketNotifier> readNotifier_;
    std::unique_ptr<QSocketNotifier> writeNotifier_;
};

}  // namespace ecrsim
