#include "VirtualEventLoop.h"

#include <algorithm>
#include <cmath>

namespace sorvik::test {

struct VirtualEventLoop::Entry {
    std::function<void()> fn;
    int intervalMs = 0;
    bool repeating = false;
    bool scheduled = false;
    std::multimap<std::pair<int64_t, uint64_t>, Entry*>::iterator where;
};

class VirtualTimer final : public Timer {
public:
    VirtualTimer(VirtualEventLoop* loop, int ms, std::function<void()> fn) : loop_(loop) {
        entry_.fn = std::move(fn);
        entry_.intervalMs = ms;
        entry_.repeating = true;
    }
    ~VirtualTimer() override { loop_->Unschedule(&entry_); }
    void Start() override {
        loop_->Unschedule(&entry_);
        loop_->Schedule(&entry_, loop_->nowMs_ + std::max(1, entry_.intervalMs));
    }
    void Stop() override { loop_->Unschedule(&entry_); }
    bool IsActive() const override { return entry_.scheduled; }
    void SetInterval(int ms) override { entry_.intervalMs = ms; }
    int Interval() const override { return entry_.intervalMs; }

private:
    VirtualEventLoop* loop_;
    VirtualEventLoop::Entry entry_;
};

VirtualEventLoop::VirtualEventLoop() = default;
VirtualEventLoop::~VirtualEventLoop() {
    for (auto& [key, e] : queue_) e->scheduled = false;
    queue_.clear();
}

std::unique_ptr<Timer> VirtualEventLoop::CreateTimer(int intervalMs, std::function<void()> onTick,
                                                     bool) {
    return std::make_unique<VirtualTimer>(this, intervalMs, std::move(onTick));
}

void VirtualEventLoop::SingleShot(int ms, std::function<void()> fn) {
    auto e = std::make_unique<Entry>();
    e->fn = std::move(fn);
    Schedule(e.get(), nowMs_ + std::max(0, ms));
    singleShots_.push_back(std::move(e));
}

void VirtualEventLoop::Schedule(Entry* e, int64_t dueMs) {
    e->where = queue_.emplace(std::make_pair(dueMs, sequence_++), e);
    e->scheduled = true;
}

void VirtualEventLoop::Unschedule(Entry* e) {
    if (!e->scheduled) return;
    queue_.erase(e->where);
    e->scheduled = false;
}

bool VirtualEventLoop::FireNext(int64_t limitMs) {
    if (queue_.empty()) return false;
    auto it = queue_.begin();
    const int64_t due = it->first.first;
    if (due > limitMs) return false;
    Entry* e = it->second;
    Unschedule(e);
    // An overdue timer (after a sleep) fires once, at the current time.
    nowMs_ = std::max(nowMs_, due);
    if (e->repeating) Schedule(e, nowMs_ + std::max(1, e->intervalMs));
    auto fn = e->fn;  // the entry may go away while it runs
    if (!e->repeating) {
        auto owned = std::find_if(singleShots_.begin(), singleShots_.end(),
                                  [e](const auto& p) { return p.get() == e; });
        if (owned != singleShots_.end()) singleShots_.erase(owned);
    }
    fn();
    return true;
}

void VirtualEventLoop::RunFor(double seconds) {
    const int64_t target = nowMs_ + static_cast<int64_t>(std::llround(seconds * 1000.0));
    while (FireNext(target)) {
    }
    nowMs_ = std::max(nowMs_, target);
}

bool VirtualEventLoop::RunUntil(const std::function<bool()>& done, double seconds) {
    const int64_t target = nowMs_ + static_cast<int64_t>(std::llround(seconds * 1000.0));
    while (true) {
        if (done()) return true;
        if (!FireNext(target)) break;
    }
    nowMs_ = std::max(nowMs_, target);
    return done();
}

bool VirtualEventLoop::WaitUntil(const std::function<bool()>& done, double seconds) {
    return RunUntil(done, seconds);
}

void VirtualEventLoop::SleepSeconds(double seconds) {
    nowMs_ += static_cast<int64_t>(std::llround(seconds * 1000.0));
}

}  // namespace sorvik::test
