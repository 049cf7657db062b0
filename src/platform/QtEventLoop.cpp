#include "platform/QtEventLoop.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <cmath>

namespace sorvik {
namespace {

class QtTimer final : public Timer {
public:
    QtTimer(int ms, std::function<void()> onTick, bool precise) {
        timer_.setInterval(ms);
        timer_.setTimerType(precise ? Qt::PreciseTimer : Qt::CoarseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [fn = std::move(onTick)] { fn(); });
    }
    void Start() override { timer_.start(); }
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }
    void SetInterval(int ms) override { timer_.setInterval(ms); }
    int Interval() const override { return timer_.interval(); }

private:
    QTimer timer_;
};

}  // namespace

QtEventLoop::QtEventLoop() { clock_.start(); }

std::unique_ptr<Timer> QtEventLoop::CreateTimer(int intervalMs, std::function<void()> onTick,
                                                bool precise) {
    return std::make_unique<QtTimer>(intervalMs, std::move(onTick), precise);
}

void QtEventLoop::SingleShot(int ms, std::function<void()> fn) {
    QTimer::singleShot(ms, QCoreApplication::instance(), std::move(fn));
}

double QtEventLoop::Now() const { return static_cast<double>(clock_.nsecsElapsed()) / 1e9; }

bool QtEventLoop::WaitUntil(const std::function<bool()>& done, double seconds) {
    // The deadline timer wakes the blocking event wait, so the loop sleeps between events.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    deadline.start(static_cast<int>(std::ceil(std::max(0.0, seconds) * 1000.0)));
    while (true) {
        if (done()) return true;
        if (!deadline.isActive()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void QtEventLoop::SleepSeconds(double seconds) {
    if (beforeSleep) beforeSleep();
    QThread::usleep(static_cast<unsigned long>(std::max(0.0, seconds) * 1e6));
}

}  // namespace sorvik
