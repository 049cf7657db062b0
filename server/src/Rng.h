#pragma once
// A small deterministic generator (xoshiro256**, seeded through splitmix64), so that one
// seed gives the same deals and bot choices on every platform and standard library.

#include <cstdint>

namespace sorvik::server {

class Rng {
public:
    explicit Rng(uint64_t seed = 0) { Seed(seed); }

    void Seed(uint64_t seed) {
        for (uint64_t& word : s_) {
            seed += 0x9E3779B97F4A7C15ull;
            uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            word = z ^ (z >> 31);
        }
    }

    uint64_t Next() {
        const uint64_t result = Rotl(s_[1] * 5, 7) * 9;
        const uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = Rotl(s_[3], 45);
        return result;
    }

    // Uniform in 0..n-1 (n >= 1), without modulo bias.
    uint32_t Below(uint32_t n) {
        if (n <= 1) return 0;
        const uint64_t limit = UINT64_MAX - UINT64_MAX % n;
        uint64_t v;
        do v = Next();
        while (v >= limit);
        return static_cast<uint32_t>(v % n);
    }

    bool Percent(uint32_t p) { return Below(100) < p; }

private:
    static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    uint64_t s_[4]{};
};

}  // namespace sorvik::server
