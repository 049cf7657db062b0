#pragma once
#include <QElapsedTimer>

#include "platform/EventLoop.h"

namespace sorvik {

class QtEventLoop final : public EventLoop {
public:
    QtEventLoop();
    std::unique_ptr<Timer> CreateTimer(int intervalMs, std::function<void()> onTick,
                                       bool precise) override;
    void SingleShot(int ms, std::function<void()> fn) override;
    double Now() const override;
    bool WaitUntil(const std::function<bool()>& done, double seconds) override;
    void SleepSeconds(double seconds) override;

    // Called before SleepSeconds blocks, so what was drawn last is on the screen.
    std::function<void()> beforeSleep;

private:
    QElapsedTimer clock_;
};

}  // namespace sorvik
