#include "platform/qt/qt_event_loop.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>
#include <algorithm>

#include "platform/window_timer.h"

namespace zelmar::platform {
namespace {

class QtTimer : public WindowTimer {
  public:
    explicit QtTimer(std::function<void()> onTick) {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [fn = std::move(onTick)] { fn(); });
    }

  private:
    // A QTimer with interval 0 would tick without pause.
    void restart() override {
        if (counting()) {
            timer_.start(interval());
        } else {
            timer_.stop();
        }
    }

    QTimer timer_;
};

}  // namespace

QtEventLoop::QtEventLoop() {
    clock_.start();
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
}

QtEventLoop::~QtEventLoop() = default;

LocalDateTime QtEventLoop::localNow() const {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

void QtEventLoop::pumpOnce() {
    QCoreApplication::processEvents();
}

void QtEventLoop::pumpWait(int maxMs) {
    if (maxMs <= 0) {
        pumpOnce();
        return;
    }
    // Sleeps in the dispatcher until something is handled; the wake timer bounds the sleep.
    wake_.start(maxMs);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    wake_.stop();
}

void QtEventLoop::sleepMs(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

std::unique_ptr<Timer> QtEventLoop::createTimer(std::function<void()> onTick) {
    return std::make_unique<QtTimer>(std::move(onTick));
}

void QtEventLoop::postDelayed(int delayMs, std::function<void()> fn) {
    QTimer::singleShot(std::max(delayMs, 0), Qt::PreciseTimer, &context_,
                       [fn = std::move(fn)] { fn(); });
}

}  // namespace zelmar::platform
