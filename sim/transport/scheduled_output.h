#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "sim/core/engine_output.h"

namespace ecrsim {

// Carries an engine's outputs out on the Qt event loop: bytes after their delay (timers, no
// sleeping; precise timers keep the segments of a split reply in order), a drop at once.
// Nothing runs once `context` is gone.
inline void ScheduleOutputs(Outputs outputs, QObject* context,
                            const std::function<void(const std::string&)>& send,
                            const std::function<void()>& drop) {
    for (auto& output : outputs) {
        if (output.dropLink) {
            drop();
            return;
        }
        QTimer::singleShot(output.delayMs, Qt::PreciseTimer, context,
                           [send, bytes = std::move(output.bytes)] { send(bytes); });
    }
}

}  // namespace ecrsim
