// Any bytes from the server, in any chunking, end in a handled frame or the controlled
// exit, never in a crash. Run under the sanitizer build to catch undefined behaviour.

#include <gtest/gtest.h>

#include <random>

#include "ClientHarness.h"

using namespace sorvik;
using namespace sorvik::test;

TEST(Robustness, RandomServerStreamsEndOnlyThroughTheControlledExit) {
    std::mt19937 rng(20261210);
    const uint8_t types[] = {1, 6, 9, 16, 18, 19, 20, 21, 22, 23, 29, 0, 2, 255};
    int controlledExits = 0;
    for (int round = 0; round < 60; ++round) {
        ClientHarness h;
        ASSERT_TRUE(h.Start());
        h.Connect();
        std::string stream;
        for (int n = 0; n < 12; ++n) {
            PacketFrame f;
            for (auto& b : f) b = static_cast<uint8_t>(rng());
            f[3] = types[rng() % std::size(types)];
            if (f[3] == kLogin && rng() % 2) f[15] = 1;  // let some logins through
            stream.append(reinterpret_cast<const char*>(f.data()), f.size());
        }
        const bool survived = h.Call([&] {
            size_t at = 0;
            while (at < stream.size()) {
                const size_t chunk = std::min<size_t>(1 + rng() % 600, stream.size() - at);
                h.socket.Deliver(reinterpret_cast<const uint8_t*>(stream.data()) + at, chunk);
                at += chunk;
                h.loop.RunFor(0.05 * (rng() % 4));
            }
            h.loop.RunFor(3);
        });
        if (!survived) {
            ++controlledExits;
            EXPECT_TRUE(h.desktop.ended);
        }
    }
    EXPECT_GT(controlledExits, 0);  // refused logins take the exit
}
