// No person receives a card it is not entitled to: many hands with two people acting at
// random (bad frames included) and two bots, every frame checked as it arrives against
// the cards the table dealt.

#include <gtest/gtest.h>

#include "Support.h"

namespace sorvik::server {
namespace {

using namespace test;

struct Seen {
    int ownLooks = 0, othersLooks = 0;
    int comparesShown = 0, comparesHidden = 0, finalCompares = 0;
    int opens = 0;
};

class PrivacyCheck {
public:
    PrivacyCheck(const Table& table, Seen& seen) : table_(table), seen_(seen) {}

    void Check(const PacketFrame& f, int recipient) {
        // Nothing of a hand's cards travels in the other frames of a hand.
        EXPECT_TRUE(f[3] != kGameStart || AllZero(f, 16, 79));
        EXPECT_TRUE(f[3] != kReadyNotice || AllZero(f, 32, 79));
        EXPECT_TRUE(f[3] != kGameResult || AllZero(f, 36, 79));
        if (f[3] != kTurnUpdate) return;
        const Hand* h = table_.CurrentHand();
        ASSERT_NE(h, nullptr);
        const int actor = SeatOfBit(f[6]);
        switch (f[9]) {
            case kLook:
                if (recipient == actor) {
                    ++seen_.ownLooks;
                    ExpectCards(f, 20, h->Cards(actor));
                    EXPECT_TRUE(AllZero(f, 32, 79));
                } else {
                    ++seen_.othersLooks;
                    EXPECT_TRUE(AllZero(f, 16, 79));
                }
                return;
            case kCompare: {
                const int w = SeatOfBit(f[16]), l = SeatOfBit(f[32]);
                ASSERT_GE(w, 0);
                ASSERT_GE(l, 0);
                EXPECT_TRUE(w == actor || l == actor);
                const bool ends = f[12] == 0;
                if (ends || recipient == w || recipient == l) {
                    ends ? ++seen_.finalCompares : ++seen_.comparesShown;
                    ExpectCards(f, 20, h->Cards(w));
                    ExpectCards(f, 36, h->Cards(l));
                } else {
                    ++seen_.comparesHidden;
                    EXPECT_TRUE(CardBytesEmpty(f, 16, 47));
                }
                EXPECT_TRUE(AllZero(f, 17, 19));
                EXPECT_TRUE(AllZero(f, 33, 35));
                EXPECT_TRUE(AllZero(f, 48, 79));
                return;
            }
            case kStake:
                if (f[16] != 0) {
                    ++seen_.opens;
                    EXPECT_EQ(f[12], 0);
                    int shown = 0;
                    for (int k = 0; k < 4; ++k) {
                        const int s = SeatOfBit(f[16 + 16 * k]);
                        if (f[16 + 16 * k] == 0) {
                            EXPECT_TRUE(AllZero(f, 16 + 16 * k, 31 + 16 * k));
                            continue;
                        }
                        ASSERT_GE(s, 0);
                        EXPECT_TRUE(h->Active(s)) << "an opened hand must still be in";
                        ExpectCards(f, 20 + 16 * k, h->Cards(s));
                        ++shown;
                    }
                    EXPECT_EQ(shown, h->ActiveCount());
                    return;
                }
                [[fallthrough]];
            default:
                EXPECT_TRUE(AllZero(f, 16, 79)) << "code " << int(f[9]);
        }
    }

private:
    static bool AllZero(const PacketFrame& f, int from, int to) {
        for (int i = from; i <= to; ++i)
            if (f[i]) return false;
        return true;
    }
    static void ExpectCards(const PacketFrame& f, int start, const Hand3& cards) {
        for (int d = 0; d < 3; ++d) EXPECT_EQ(ReadFrameNumber(f, start + 4 * d, 4), cards[d].Code());
    }
    const Table& table_;
    Seen& seen_;
};

// Acts on its own turns: mostly what the mask allows, sometimes nonsense; gets ready
// after each settlement; now and then acts out of turn.
void PlayAtRandom(TableRig& rig, int seat, Rng& rng) {
    rig.Sink(seat).onFrame = [&rig, seat, &rng](const PacketFrame& f) {
        if (f[3] == kGameResult && f[6] == 8) {
            rig.sched.After(200 + rng.Below(3000), [&rig, seat] { rig.Send(seat, ReadyFrame(seat)); });
            return;
        }
        if (f[3] != kTurnUpdate) return;
        if (f[12] != SeatBit(seat)) {
            if (rng.Percent(3))
                rig.sched.After(rng.Below(500), [&rig, seat] { rig.Send(seat, ActionFrame(seat, kStake, 10)); });
            return;
        }
        const uint8_t mask = f[11];
        const int stake = f[15];
        PacketFrame a;
        const uint32_t roll = rng.Below(100);
        if (roll < 8) {
            a = ActionFrame(seat, uint8_t(rng.Below(256)), int(rng.Below(256)));
        } else if (roll < 18) {
            a = ActionFrame(seat, kGiveUp, 0);
        } else if (roll < 45 && (mask & kLook)) {
            a = ActionFrame(seat, kLook, 0);
        } else if (roll < 70 && (mask & kCompare)) {
            a = ActionFrame(seat, kCompare, int(1u << rng.Below(4)));
        } else {
            a = ActionFrame(seat, kStake, stake + 10 * int(rng.Below(6)));
        }
        rig.sched.After(100 + rng.Below(2000), [&rig, seat, a] { rig.Send(seat, a); });
    };
}

TEST(CardPrivacy, NoPersonReceivesCardsItIsNotEntitledTo) {
    Seen seen;
    int hands = 0;
    for (uint64_t seed = 1; seed <= 6; ++seed) {
        Rules rules;
        rules.potLimit = 150 + 50 * int(seed % 4);  // low enough to open hands often
        TableOptions options;
        options.thinkMs = 300;
        options.botCoins = int64_t(1) << 40;
        TableRig rig(2, seed, options, rules);
        Rng rng(seed * 977);
        PrivacyCheck check(*rig.table, seen);
        rig.SeatPerson("alice", int64_t(1) << 40);
        rig.SeatPerson("bob", int64_t(1) << 40);
        for (int s : {0, 1}) {
            PlayAtRandom(rig, s, rng);
            auto play = rig.Sink(s).onFrame;
            rig.Sink(s).onFrame = [&check, s, play](const PacketFrame& f) {
                check.Check(f, s);
                play(f);
            };
        }
        // Bots rich enough to play on: a table that ended would stop the run early.
        ASSERT_TRUE(AdvanceUntil(rig.sched, [&] { return rig.host.settled >= 60; }, int64_t(4) * 3600 * 1000, 500))
            << "seed " << seed << " settled " << rig.host.settled << " state "
            << TableStateName(rig.table->State());
        hands += rig.host.settled;
    }
    EXPECT_GE(hands, 360);
    // Every case of the rule was met.
    EXPECT_GT(seen.ownLooks, 0);
    EXPECT_GT(seen.othersLooks, 0);
    EXPECT_GT(seen.comparesShown, 0);
    EXPECT_GT(seen.comparesHidden, 0);
    EXPECT_GT(seen.finalCompares, 0);
    EXPECT_GT(seen.opens, 0);
}

}  // namespace
}  // namespace sorvik::server
