#pragma once
// Time for the tables: one-shot tasks after a delay. The queue itself is shared by the
// Qt-driven scheduler of the program and the virtual one of the tests.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>

namespace sorvik::server {

class Scheduler {
public:
    using Id = uint64_t;
    virtual ~Scheduler() = default;
    virtual Id After(int64_t ms, std::function<void()> task) = 0;
    virtual void Cancel(Id id) = 0;
    virtual int64_t NowMs() const = 0;
};

class TimerQueue {
public:
    Scheduler::Id Add(int64_t deadline, std::function<void()> task);
    void Cancel(Scheduler::Id id);
    bool Empty() const { return tasks_.empty(); }
    int64_t NextDeadline() const { return tasks_.begin()->first.first; }
    // Runs tasks due at `now`, earliest first, at most `limit` of them; tasks added while
    // running wait for the next call when they are not due before the ones already taken.
    int RunDue(int64_t now, int limit);
    size_t Size() const { return tasks_.size(); }

private:
    using Key = std::pair<int64_t, uint64_t>;
    std::map<Key, std::function<void()>> tasks_;
    std::unordered_map<uint64_t, Key> keys_;
    uint64_t seq_ = 0;
};

// The program's scheduler: one QTimer armed for the earliest task. Zero-delay tasks run
// in batches, so that sockets are still served between them.
class QtScheduler : public QObject, public Scheduler {
public:
    QtScheduler();
    Id After(int64_t ms, std::function<void()> task) override;
    void Cancel(Id id) override;
    int64_t NowMs() const override { return clock_.elapsed(); }

private:
    void Rearm();
    void Fire();
    TimerQueue queue_;
    QTimer timer_;
    QElapsedTimer clock_;
    bool firing_ = false;
};

// The tests' scheduler: time moves only when told, running what falls due in order.
class VirtualScheduler : public Scheduler {
public:
    Id After(int64_t ms, std::function<void()> task) override {
        return queue_.Add(now_ + (ms < 0 ? 0 : ms), std::move(task));
    }
    void Cancel(Id id) override { queue_.Cancel(id); }
    int64_t NowMs() const override { return now_; }
    // Moves time forward by `ms`, running every task due on the way at its own time.
    void Advance(int64_t ms);
    // Runs until nothing is queued or `maxMs` of virtual time has passed.
    void RunUntilIdle(int64_t maxMs);
    size_t Pending() const { return queue_.Size(); }

private:
    TimerQueue queue_;
    int64_t now_ = 0;
};

}  // namespace sorvik::server
