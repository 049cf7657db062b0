// A seat held through a lost link: the reconnecting client gets the reply, exactly the
// frames it missed, and the turn offer; the game itself does not notice the drop.

#include <gtest/gtest.h>

#include "Support.h"

namespace sorvik::server {
namespace {

using namespace test;

constexpr uint64_t kSeed = 21;

struct Visit {
    std::vector<PacketFrame> before;  // frames on the first link
    std::vector<PacketFrame> after;   // frames on the second link
    size_t burst = 0;                 // frames the reconnect itself sent on the second link
    bool offerExpected = false;       // the hand was running at the reconnect
    int current = -1;                 // the player to act at the reconnect
    int64_t lookAt = -1, endAt = -1;  // when alice looked, when hand 1 was settled
};

// Alice (seat 0) with three bots. She looks at her first offer, then never acts again
// (the server gives up for her), and gets ready after the settlement. Her link drops at
// `dropAt` and comes back at `backAt` (never when negative).
Visit Play(bool looks, int64_t dropAt, int64_t backAt) {
    TableRig rig(1, kSeed);
    RecordingSink second;
    second.clock = &rig.sched;
    Visit run;
    bool connected = true, looked = false;
    auto react = [&](const PacketFrame& f) {
        if (f[3] == kTurnUpdate && f[9] == kLook && f[6] == 1) run.lookAt = rig.sched.NowMs();
        if (f[3] == kGameResult && f[6] == 8 && run.endAt < 0) run.endAt = rig.sched.NowMs();
        if (looks && !looked && f[3] == kTurnUpdate && f[12] == 1) {
            looked = true;
            rig.sched.After(200, [&] {
                if (connected) rig.Send(0, ActionFrame(0, kLook, 0));
            });
        }
    };
    rig.SeatPerson("alice");
    rig.Sink(0).onFrame = react;
    second.onFrame = react;
    rig.Send(0, ReadyFrame(0));
    if (dropAt >= 0)
        rig.sched.After(dropAt - rig.sched.NowMs(), [&] {
            connected = false;
            rig.table->OnLinkLost(0);
        });
    if (backAt >= 0)
        rig.sched.After(backAt - rig.sched.NowMs(), [&] {
            const Hand* h = rig.table->CurrentHand();
            run.offerExpected = h && rig.table->HandBegun() && !h->Over();
            run.current = h ? h->Current() : -1;
            EXPECT_EQ(rig.table->HeldSeat("alice", 100), 0);
            rig.table->Reconnect(0, &second);
            run.burst = second.frames.size();
            connected = true;
        });
    rig.sched.Advance(150000);
    run.before = rig.Sink(0).frames;
    run.after = second.frames;
    return run;
}

// The frames up to and including the fourth result of the first hand.
std::vector<PacketFrame> FirstHand(const std::vector<PacketFrame>& frames) {
    std::vector<PacketFrame> out;
    int results = 0;
    for (const PacketFrame& f : frames) {
        out.push_back(f);
        if (f[3] == kGameResult && ++results == 4) break;
    }
    return out;
}

TEST(Reconnect, ReplayHasEveryMissedFrameOnce) {
    const Visit reference = Play(true, -1, -1);
    const Visit quiet = Play(false, -1, -1);
    ASSERT_GT(reference.lookAt, 0);
    ASSERT_GT(reference.endAt, reference.lookAt);
    const int64_t start = 5000;  // the bots are ready and alice too: the hand starts
    struct Case { const char* name; bool looks; int64_t dropAt, backAt; const Visit* ref; };
    const Case cases[] = {
        {"back during her own turn", true, reference.lookAt + 100, reference.lookAt + 5000, &reference},
        {"back after the server gave up for her", true, reference.lookAt + 100, reference.lookAt + 31000, &reference},
        {"back after the hand was settled", true, reference.lookAt + 100, reference.endAt + 1000, &reference},
        {"dropped during the deal", false, start + 1000, start + 2500, &quiet},
        {"dropped during the deal, back later", false, start + 1000, quiet.endAt - 1, &quiet},
    };
    for (const Case& c : cases) {
        ASSERT_LT(c.backAt - c.dropAt, 70000) << c.name << ": inside the hold";
        const Visit run = Play(c.looks, c.dropAt, c.backAt);
        ASSERT_FALSE(run.after.empty()) << c.name;
        EXPECT_EQ(run.after[0][3], kReconnectReply) << c.name;
        EXPECT_EQ(run.after[0][15], 1) << c.name;
        std::vector<PacketFrame> joined = run.before;
        size_t replayEnd = run.burst;
        if (run.offerExpected) {
            // The burst ends with a turn offer naming the player to act.
            const PacketFrame& offer = run.after[run.burst - 1];
            EXPECT_EQ(offer[3], kTurnUpdate) << c.name;
            EXPECT_EQ(offer[9], 0) << c.name;
            EXPECT_EQ(offer[12], SeatBit(run.current)) << c.name;
            replayEnd = run.burst - 1;
        }
        joined.insert(joined.end(), run.after.begin() + 1, run.after.begin() + long(replayEnd));
        joined.insert(joined.end(), run.after.begin() + long(run.burst), run.after.end());
        const auto expected = FirstHand(c.ref->before);
        const auto got = FirstHand(joined);
        ASSERT_EQ(got.size(), expected.size()) << c.name;
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(got[i], expected[i]) << c.name << ": frame " << i << " type " << int(got[i][3]);
    }
}

TEST(Reconnect, OnlyTheHeldSeatWithItsTagIsTaken) {
    TableRig rig(1, kSeed);
    rig.SeatPerson("alice");
    rig.Send(0, ReadyFrame(0));
    rig.sched.Advance(6000);
    ASSERT_EQ(rig.table->State(), TableState::Playing);
    EXPECT_EQ(rig.table->HeldSeat("alice", 100), -1);  // connected: nothing held
    rig.table->OnLinkLost(0);
    EXPECT_EQ(rig.table->HeldSeat("alice", 100), 0);
    EXPECT_EQ(rig.table->HeldSeat("alice", 101), -1);
    EXPECT_EQ(rig.table->HeldSeat("bob", 100), -1);
    rig.sched.Advance(70000);
    EXPECT_EQ(rig.table->HeldSeat("alice", 100), -1);  // the hold ran out
    EXPECT_TRUE(rig.LogHas("why=hold_expired"));
}

}  // namespace
}  // namespace sorvik::server
