// One hand as a state machine: turn order, looks, stakes, comparisons, the pot limit.

#include <gtest/gtest.h>

#include "Hand.h"

namespace sorvik::server {
namespace {

std::array<Hand3, 4> Deal(const char* a, const char* b, const char* c, const char* d) {
    return {ParseHand(a), ParseHand(b), ParseHand(c), ParseHand(d)};
}

const auto kCards = Deal("Ah Ad As", "Kc Qd 9h", "2c 5d 7h", "Jc Jd 3h");

TEST(HandEngine, BeginNamesTheFirstPlayerWithBlindStake) {
    Hand h(Rules{}, kCards, 2);
    const TurnEvent ev = h.Begin();
    EXPECT_EQ(ev.kind, EventKind::Begin);
    EXPECT_EQ(ev.next, 2);
    EXPECT_EQ(ev.nextMask, kGiveUp | kLook | kStake);
    EXPECT_EQ(ev.nextStake, 10);
    EXPECT_EQ(h.Pot(), 40);  // the four antes
}

TEST(HandEngine, LookKeepsTheTurnAndDoublesTheStake) {
    Hand h(Rules{}, kCards, 0);
    const ActResult r = h.Act(0, kLook, 0);
    ASSERT_EQ(r.refusal, Refusal::None);
    EXPECT_EQ(r.event.kind, EventKind::Look);
    EXPECT_EQ(r.event.actor, 0);
    EXPECT_EQ(r.event.next, 0);
    EXPECT_EQ(r.event.nextMask, kGiveUp | kStake);
    EXPECT_EQ(r.event.nextStake, 20);
    EXPECT_EQ(h.Act(0, kLook, 0).refusal, Refusal::AlreadyLooked);
}

TEST(HandEngine, StakesMoveTheLevelForBlindAndLookedPlayers) {
    Hand h(Rules{}, kCards, 0);
    // Seat 0 raises blind to 30: the level is 30, a looked player then stakes 60.
    ActResult r = h.Act(0, kStake, 30);
    EXPECT_EQ(r.event.units, 30);
    EXPECT_EQ(r.event.next, 1);
    EXPECT_EQ(r.event.nextStake, 30);
    ASSERT_EQ(h.Act(1, kLook, 0).refusal, Refusal::None);
    EXPECT_EQ(h.StakeOf(1), 60);
    // Seat 1 asks for 250: held to its cap of 100, the level becomes 50.
    r = h.Act(1, kStake, 250);
    EXPECT_TRUE(r.amountHeld);
    EXPECT_EQ(r.event.units, 100);
    EXPECT_EQ(h.Level(), 50);
    EXPECT_EQ(r.event.nextStake, 50);  // seat 2, blind: its cap
    // Seat 2 asks for less than the stake: held up to it.
    r = h.Act(2, kStake, 0);
    EXPECT_TRUE(r.amountHeld);
    EXPECT_EQ(r.event.units, 50);
    EXPECT_EQ(h.Contributed(0), 40);
    EXPECT_EQ(h.Contributed(1), 110);
    EXPECT_EQ(h.Pot(), 40 + 30 + 100 + 50);
}

TEST(HandEngine, OutOfTurnAndUnknownActionsChangeNothing) {
    Hand h(Rules{}, kCards, 1);
    EXPECT_EQ(h.Act(0, kStake, 10).refusal, Refusal::NotYourTurn);
    EXPECT_EQ(h.Act(1, 3, 0).refusal, Refusal::UnknownAction);
    EXPECT_EQ(h.Act(1, kCompare, 1).refusal, Refusal::CompareNotAllowed);  // nobody looked yet
    EXPECT_EQ(h.Current(), 1);
    EXPECT_EQ(h.Pot(), 40);
}

TEST(HandEngine, CompareTargetsAndTheChallengerLosingTies) {
    struct Case {
        const char* name;
        std::array<Hand3, 4> cards;
        int targetBit;  // what seat 1 asks for after seat 2 and seat 3 looked
        int expectedTarget;
        bool resolved;
        int winner;
    };
    const Case cases[] = {
        {"asked looked seat, actor wins", Deal("2c 3d 5h", "Ah Ad As", "Kc Qd 9h", "Jc Jd 3h"), 8, 3, false, 1},
        {"asked looked seat, actor loses", Deal("2c 3d 5h", "Kc Qd 9h", "Ah Ad As", "Jc Jd 3h"), 4, 2, false, 2},
        {"tie goes against the challenger", Deal("2c 3d 5h", "Kc Qd 9h", "Kd Qh 9s", "Jc Jd 3h"), 4, 2, false, 2},
        {"own seat resolved to the next looked", Deal("2c 3d 5h", "Ah Ad As", "Kc Qd 9h", "Jc Jd 3h"), 2, 2, true, 1},
        {"seat that has not looked resolved", Deal("2c 3d 5h", "Ah Ad As", "Kc Qd 9h", "Jc Jd 3h"), 1, 2, true, 1},
        {"garbage bits resolved", Deal("2c 3d 5h", "Ah Ad As", "Kc Qd 9h", "Jc Jd 3h"), 0xF3, 2, true, 1},
    };
    for (const Case& c : cases) {
        Hand h(Rules{}, c.cards, 1);
        ASSERT_EQ(h.Act(1, kStake, 10).refusal, Refusal::None);
        ASSERT_EQ(h.Act(2, kLook, 0).refusal, Refusal::None);
        ASSERT_EQ(h.Act(2, kStake, 20).refusal, Refusal::None);
        ASSERT_EQ(h.Act(3, kLook, 0).refusal, Refusal::None);
        ASSERT_EQ(h.Act(3, kStake, 20).refusal, Refusal::None);
        ASSERT_EQ(h.Act(0, kStake, 10).refusal, Refusal::None);
        const ActResult r = h.Act(1, kCompare, c.targetBit);
        ASSERT_EQ(r.refusal, Refusal::None) << c.name;
        EXPECT_EQ(r.targetResolved, c.resolved) << c.name;
        const int target = r.event.winner == 1 ? r.event.loser : r.event.winner;
        EXPECT_EQ(target, c.expectedTarget) << c.name;
        EXPECT_EQ(r.event.winner, c.winner) << c.name;
        EXPECT_EQ(r.event.units, 10) << c.name;  // the blind stake, four players still in
        EXPECT_FALSE(r.event.ended) << c.name;
        EXPECT_FALSE(h.Active(r.event.loser)) << c.name;
        EXPECT_EQ(r.event.next, h.NextActiveAfter(1)) << c.name;
    }
}

TEST(HandEngine, LastTwoCompareAtTwiceTheStakeAndEndTheHand) {
    Hand h(Rules{}, kCards, 0);
    ASSERT_EQ(h.Act(0, kGiveUp, 0).refusal, Refusal::None);
    const TurnEvent forced = h.ForceGiveUp(3);  // out of turn, as for a departure
    EXPECT_EQ(forced.next, 1);  // the turn stays where it was
    EXPECT_EQ(forced.nextMask & kCompare, kCompare);  // two left: compare without any look
    ASSERT_EQ(h.Act(1, kLook, 0).refusal, Refusal::None);
    // With two left the own seat is an accepted target: the other player is meant.
    const ActResult r = h.Act(1, kCompare, 2);
    ASSERT_EQ(r.refusal, Refusal::None);
    EXPECT_FALSE(r.targetResolved);
    EXPECT_EQ(r.event.units, 40);
    EXPECT_TRUE(r.event.ended);
    EXPECT_EQ(r.event.winner, 1);  // K-Q-9 beats 7-5-2
    EXPECT_EQ(r.event.loser, 2);
    EXPECT_EQ(r.event.next, -1);
    EXPECT_EQ(h.Winner(), 1);
    EXPECT_EQ(h.Act(1, kStake, 10).refusal, Refusal::HandOver);
}

TEST(HandEngine, LastGiveUpEndsTheHandForTheOneLeft) {
    Hand h(Rules{}, kCards, 3);
    h.Act(3, kGiveUp, 0);
    h.Act(0, kGiveUp, 0);
    const ActResult r = h.Act(1, kGiveUp, 0);
    EXPECT_TRUE(r.event.ended);
    EXPECT_EQ(r.event.handWinner, 2);
    EXPECT_EQ(r.event.nextMask, 0);
}

TEST(HandEngine, PotLimitOpensEveryHandStillInWinnerFirst) {
    Rules rules;
    rules.potLimit = 200;
    Hand h(rules, Deal("Kc Qd 9h", "2c 5d 7h", "Ah Ad As", "Jc Jd 3h"), 0);
    h.Act(0, kStake, 50);
    h.Act(1, kGiveUp, 0);
    h.Act(2, kStake, 50);
    const ActResult before = h.Act(3, kStake, 50);
    EXPECT_FALSE(before.event.opened);  // 190 units
    const ActResult r = h.Act(0, kStake, 50);
    EXPECT_TRUE(r.event.opened);
    EXPECT_TRUE(r.event.ended);
    EXPECT_EQ(r.event.handWinner, 2);
    EXPECT_EQ(r.event.openOrder, (std::array<int, 4>{2, 0, 3, -1}));
}

TEST(HandEngine, ShowdownTieGoesToTheFirstAfterTheStaker) {
    Rules rules;
    rules.potLimit = 60;
    Hand h(rules, Deal("Kc Qd 9h", "Kd Qh 9s", "Ks Qc 9d", "2c 5d 7h"), 1);
    const ActResult r = h.Act(1, kStake, 20);
    ASSERT_TRUE(r.event.opened);
    EXPECT_EQ(r.event.handWinner, 2);  // seats 0, 1, 2 tie; seat 2 comes first after seat 1
}

// Whatever legal actions are taken, a hand ends, and it ends with one winner still in.
TEST(HandEngine, RandomPlayAlwaysEnds) {
    Rng rng(7);
    for (int game = 0; game < 2000; ++game) {
        Deck deck = FreshDeck();
        Shuffle(deck, rng);
        std::array<Hand3, 4> cards{};
        for (int s = 0; s < 4; ++s)
            for (int k = 0; k < 3; ++k) cards[s][k] = deck[3 * s + k];
        Hand h(Rules{}, cards, int(rng.Below(4)));
        int steps = 0;
        while (!h.Over()) {
            ASSERT_LT(++steps, 500);
            const int s = h.Current();
            const uint8_t mask = h.MaskOf(s);
            uint8_t code;
            do code = uint8_t(1u << rng.Below(4));
            while (!(mask & code) || (code == kGiveUp && rng.Percent(70)));
            const int arg = code == kStake ? h.StakeOf(s) + 10 * int(rng.Below(6)) : int(1u << rng.Below(4));
            const ActResult r = h.Act(s, code, arg);
            ASSERT_EQ(r.refusal, Refusal::None);
            EXPECT_LE(r.event.nextStake, r.event.next >= 0 ? h.CapOf(r.event.next) : 0);
        }
        EXPECT_TRUE(h.Active(h.Winner()));
    }
}

}  // namespace
}  // namespace sorvik::server
