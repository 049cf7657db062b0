#pragma once
// Virtual time: advancing the clock fires due timers in time order; waits drive the clock
// to their own deadline; a sleep moves it without firing anything.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/EventLoop.h"

namespace sorvik::test {

class VirtualEventLoop final : public EventLoop {
public:
    VirtualEventLoop();
    ~VirtualEventLoop() override;
    std::unique_ptr<Timer> CreateTimer(int intervalMs, std::function<void()> onTick,
                                       bool precise) override;
    void SingleShot(int ms, std::function<void()> fn) override;
    double Now() const override { return nowMs_ / 1000.0; }
    bool WaitUntil(const std::function<bool()>& done, double seconds) override;
    void SleepSeconds(double seconds) override;

    // Runs everything due within the next `seconds`.
    void RunFor(double seconds);
    // Runs until `done` holds or `seconds` pass; true when it held.
    bool RunUntil(const std::function<bool()>& done, double seconds);
    // Runs what is already due, without moving the clock.
    void RunDue() { RunFor(0); }

    struct Entry;

private:
    friend class VirtualTimer;
    // Fires the earliest entry due at or before `limitMs`; false when there is none.
    bool FireNext(int64_t limitMs);
    void Schedule(Entry* e, int64_t dueMs);
    void Unschedule(Entry* e);

    int64_t nowMs_ = 0;
    uint64_t sequence_ = 0;
    std::multimap<std::pair<int64_t, uint64_t>, Entry*> queue_;
    std::vector<std::unique_ptr<Entry>> singleShots_;
};

}  // namespace sorvik::test
