#pragma once
// The time seam: every timer, clock and wait of the client goes through here, so the
// program runs on Qt's event loop and the tests on a virtual clock.

#include <functional>
#include <memory>

namespace sorvik {

class Timer {
public:
    virtual ~Timer() = default;
    virtual void Start() = 0;            // (re)start with the current interval
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
    virtual void SetInterval(int ms) = 0;
    virtual int Interval() const = 0;
};

class EventLoop {
public:
    virtual ~EventLoop() = default;

    // A repeating timer, stopped until started. `precise` asks for millisecond accuracy.
    virtual std::unique_ptr<Timer> CreateTimer(int intervalMs, std::function<void()> onTick,
                                               bool precise = false) = 0;
    // Runs `fn` once after `ms`, from the event loop.
    virtual void SingleShot(int ms, std::function<void()> fn) = 0;

    // Seconds on a clock that never jumps back.
    virtual double Now() const = 0;

    // Lets events run until `done` holds or `seconds` have passed; true when `done` held.
    // Sleeps between events: nothing spins.
    virtual bool WaitUntil(const std::function<bool()>& done, double seconds) = 0;

    // Lets events run for `seconds`.
    void WaitSeconds(double seconds) { WaitUntil([] { return false; }, seconds); }

    // Blocks the thread for `seconds`: no event and no timer runs meanwhile; timers that
    // fell due run once afterwards.
    virtual void SleepSeconds(double seconds) = 0;
};

}  // namespace sorvik
