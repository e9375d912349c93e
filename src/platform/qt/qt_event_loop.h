#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "platform/event_loop.h"

namespace zelmar::platform {

// The program's event loop on Qt's, in real time. Needs a QCoreApplication on this thread.
class QtEventLoop : public EventLoop {
  public:
    QtEventLoop();
    ~QtEventLoop() override;

    std::int64_t nowMs() const override { return clock_.elapsed(); }
    LocalDateTime localNow() const override;
    void pumpOnce() override;
    void pumpWait(int maxMs) override;
    void sleepMs(int ms) override;
    std::unique_ptr<Timer> createTimer(std::function<void()> onTick) override;
    void postDelayed(int delayMs, std::function<void()> fn) override;

  private:
    QElapsedTimer clock_;
    QObject context_;  // posted work dies with the loop
    QTimer wake_;      // ends pumpWait's sleep when nothing else arrives
};

}  // namespace zelmar::platform
