#include "platform/qt/qt_event_loop.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>
#include <algorithm>

namespace zelmar::platform {
namespace {

class QtTimer : public Timer {
  public:
    explicit QtTimer(std::function<void()> onTick) {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [fn = std::move(onTick)] { fn(); });
    }
    void setInterval(int ms) override {
        interval_ = ms;
        apply();
    }
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override {
        if (enabled == enabled_) return;  // enabling a running timer does not restart it
        enabled_ = enabled;
        apply();
    }
    bool enabled() const override { return enabled_; }

  private:
    // A window timer with interval 0 never ticks; a QTimer with 0 would tick without pause.
    void apply() {
        if (enabled_ && interval_ > 0) {
            timer_.start(interval_);  // a new interval restarts the count, as a window timer does
        } else {
            timer_.stop();
        }
    }

    QTimer timer_;
    int interval_ = 0;
    bool enabled_ = false;
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
