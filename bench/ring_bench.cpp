// The cost of the ring operations and the allocations they make: queue and take frames,
// append and take inbound bytes, as the pump does.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "session/core/Transport.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t n) {
    ++allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

int main() {
    using Clock = std::chrono::steady_clock;
    sorvik::Transport t;
    sorvik::PacketFrame frame{};
    frame[3] = 24;
    sorvik::PacketFrame out{};
    constexpr int kRounds = 2'000'000;

    long before = allocations.load();
    auto start = Clock::now();
    for (int i = 0; i < kRounds; ++i) {
        t.SendFrame(frame);
        t.TakeOutboundFrame(out);
    }
    const double sendNs =
        std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kRounds;
    const long sendAllocs = allocations.load() - before;

    before = allocations.load();
    start = Clock::now();
    for (int i = 0; i < kRounds; ++i) {
        t.AppendInbound(frame.data(), frame.size());
        t.TakeInboundFrame();
    }
    const double recvNs =
        std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kRounds;
    const long recvAllocs = allocations.load() - before;

    std::printf("SendFrame + TakeOutboundFrame: %.1f ns per frame, %ld allocations in %d frames\n",
                sendNs, sendAllocs, kRounds);
    std::printf("AppendInbound(272) + TakeInboundFrame: %.1f ns per frame, %ld allocations in %d frames\n",
                recvNs, recvAllocs, kRounds);
    return out[3] == 24 && t.InboundFrame[3] == 24 ? 0 : 1;
}
