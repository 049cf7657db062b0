#include "Scheduler.h"

namespace sorvik::server {

Scheduler::Id TimerQueue::Add(int64_t deadline, std::function<void()> task) {
    const uint64_t id = ++seq_;
    const Key key{deadline, id};
    tasks_.emplace(key, std::move(task));
    keys_.emplace(id, key);
    return id;
}

void TimerQueue::Cancel(Scheduler::Id id) {
    auto it = keys_.find(id);
    if (it == keys_.end()) return;
    tasks_.erase(it->second);
    keys_.erase(it);
}

int TimerQueue::RunDue(int64_t now, int limit) {
    const uint64_t lastSeq = seq_;
    int ran = 0;
    while (ran < limit && !tasks_.empty()) {
        auto it = tasks_.begin();
        if (it->first.first > now) break;
        if (it->first.first == now && it->first.second > lastSeq) break;
        std::function<void()> task = std::move(it->second);
        keys_.erase(it->first.second);
        tasks_.erase(it);
        ++ran;
        task();
    }
    return ran;
}

QtScheduler::QtScheduler() {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Fire(); });
}

Scheduler::Id QtScheduler::After(int64_t ms, std::function<void()> task) {
    const Id id = queue_.Add(NowMs() + (ms < 0 ? 0 : ms), std::move(task));
    if (!firing_) Rearm();
    return id;
}

void QtScheduler::Cancel(Id id) {
    queue_.Cancel(id);
    if (!firing_) Rearm();
}

void QtScheduler::Rearm() {
    if (queue_.Empty()) {
        timer_.stop();
        return;
    }
    const int64_t wait = queue_.NextDeadline() - NowMs();
    timer_.start(int(wait < 0 ? 0 : wait > 3600000 ? 3600000 : wait));
}

void QtScheduler::Fire() {
    firing_ = true;
    queue_.RunDue(NowMs(), 64);
    firing_ = false;
    Rearm();
}

void VirtualScheduler::Advance(int64_t ms) {
    const int64_t end = now_ + ms;
    while (!queue_.Empty() && queue_.NextDeadline() <= end) {
        now_ = std::max(now_, queue_.NextDeadline());
        queue_.RunDue(now_, 1);
    }
    now_ = end;
}

void VirtualScheduler::RunUntilIdle(int64_t maxMs) {
    const int64_t end = now_ + maxMs;
    while (!queue_.Empty() && queue_.NextDeadline() <= end) {
        now_ = std::max(now_, queue_.NextDeadline());
        queue_.RunDue(now_, 1);
    }
}

}  // namespace sorvik::server
