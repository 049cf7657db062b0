// The ranking of hands, the stake arithmetic, masks, tax, levels and the settlement.

#include <gtest/gtest.h>

#include <set>

#include "Cards.h"
#include "Rules.h"

namespace sorvik::server {
namespace {

TEST(Ranking, ClassOfEachHand) {
    struct Case { const char* hand; HandClass cls; };
    const Case cases[] = {
        {"Ah Ad As", HandClass::Trips},        {"2c 2d 2h", HandClass::Trips},
        {"Qs Ks As", HandClass::StraightFlush}, {"As 2s 3s", HandClass::StraightFlush},
        {"9h Th Jh", HandClass::StraightFlush}, {"2h 7h Kh", HandClass::Flush},
        {"Ks Ah Qd", HandClass::Straight},     {"3d Ac 2h", HandClass::Straight},
        {"4c 5d 6h", HandClass::Straight},     {"Kc As 2d", HandClass::HighCard},  // no wrap past the ace
        {"Qc Qd 2h", HandClass::Pair},         {"3c Ad 3h", HandClass::Pair},
        {"2c 5d 3h", HandClass::HighCard},     {"Jc 9d 7h", HandClass::HighCard},
    };
    for (const Case& c : cases) EXPECT_EQ(RankHand(ParseHand(c.hand)).cls, c.cls) << c.hand;
}

// Each row beats the next; rows marked tie rank equal to the one before.
TEST(Ranking, OrderWithTies) {
    struct Row { const char* hand; bool tieWithPrevious; };
    const Row ladder[] = {
        {"Ah Ad As", false}, {"Kc Kd Kh", false}, {"2c 2d 2s", false},
        {"Qs Ks As", false}, {"Qh Kh Ah", true},  {"Kd Qd Jd", false}, {"As 2s 3s", false},
        {"Ah 2h 9h", false}, {"Ac 2c 9c", true},  {"Ks Qs 9s", false}, {"Ks Qs 8s", false},
        {"Ad Kc Qh", false}, {"Kd Qc Jh", false}, {"4c 3d 2h", false}, {"Ac 2d 3h", false},
        {"Ac Ad Kh", false}, {"As Ah Kd", true},  {"Ac Ad 2h", false}, {"Kc Kd Ah", false},
        {"2c 2d Ah", false}, {"2c 2d 3h", false},
        {"Ac Kd Jh", false}, {"Ad Kh Jc", true},  {"Ac Kd Th", false}, {"Ac Qd Jh", false},
        {"Kc Qd 9h", false}, {"5c 3d 2h", false},
    };
    for (size_t i = 1; i < std::size(ladder); ++i) {
        const HandRank prev = RankHand(ParseHand(ladder[i - 1].hand));
        const HandRank cur = RankHand(ParseHand(ladder[i].hand));
        if (ladder[i].tieWithPrevious)
            EXPECT_EQ(prev, cur) << ladder[i - 1].hand << " vs " << ladder[i].hand;
        else
            EXPECT_GT(prev, cur) << ladder[i - 1].hand << " vs " << ladder[i].hand;
    }
}

TEST(Ranking, DeckIsFiftyTwoDistinctCardsAndShuffleKeepsThem) {
    Rng rng(42);
    Deck deck = FreshDeck();
    Shuffle(deck, rng);
    std::set<uint32_t> codes;
    for (Card c : deck) {
        EXPECT_GE(c.rank, 2);
        EXPECT_LE(c.rank, 14);
        codes.insert(c.Code());
    }
    EXPECT_EQ(codes.size(), 52u);
    Rng again(42);
    Deck second = FreshDeck();
    Shuffle(second, again);
    EXPECT_EQ(deck, second);  // one seed, one deal
}

TEST(Ranking, CardCodeAsTheClientReadsIt) {
    // Suit one-hot in bits 0..3, rank in bits 8..15.
    EXPECT_EQ(ParseCard("Ah").Code(), 0x0E04u);
    EXPECT_EQ(ParseCard("2c").Code(), 0x0201u);
    EXPECT_EQ(ParseCard("Ts").Code(), 0x0A08u);
}

TEST(Stakes, StakeCapAndCompareCost) {
    const Rules rules;
    struct Case { int level; bool looked; int active; int stake; int cap; int compare; };
    const Case cases[] = {
        {10, false, 4, 10, 50, 10},  {10, true, 4, 20, 100, 20},  {10, true, 2, 20, 100, 40},
        {10, false, 2, 10, 50, 20},  {50, false, 3, 50, 50, 50},  {50, true, 3, 100, 100, 100},
        {50, true, 2, 100, 100, 200}, {35, true, 3, 70, 100, 70},
    };
    for (const Case& c : cases) {
        const int stake = StakeFor(rules, c.level, c.looked);
        EXPECT_EQ(stake, c.stake) << c.level << " looked " << c.looked;
        EXPECT_EQ(CapFor(rules, c.looked), c.cap);
        EXPECT_LE(stake, CapFor(rules, c.looked));
        EXPECT_EQ(CompareCost(stake, c.active), c.compare);
    }
}

TEST(Stakes, AmountsHeldToStakeAndCap) {
    struct Case { int amount, stake, cap, held; };
    const Case cases[] = {{30, 10, 50, 30}, {0, 10, 50, 10}, {5, 20, 100, 20},
                          {60, 10, 50, 50}, {255, 40, 100, 100}, {100, 100, 100, 100}};
    for (const Case& c : cases) EXPECT_EQ(HoldStake(c.amount, c.stake, c.cap), c.held) << c.amount;
    // The level follows a blind stake as is and a looked stake halved.
    EXPECT_EQ(LevelAfterStake(30, false), 30);
    EXPECT_EQ(LevelAfterStake(60, true), 30);
    EXPECT_EQ(LevelAfterStake(100, true), 50);
}

TEST(Masks, ActionsOffered) {
    struct Case { bool looked; int active; bool opponentLooked; uint8_t mask; };
    const Case cases[] = {
        {false, 4, false, kGiveUp | kLook | kStake},
        {true, 4, false, kGiveUp | kStake},
        {false, 4, true, kGiveUp | kLook | kStake | kCompare},
        {true, 3, true, kGiveUp | kStake | kCompare},
        {true, 3, false, kGiveUp | kStake},
        {false, 2, false, kGiveUp | kLook | kStake | kCompare},
        {true, 2, false, kGiveUp | kStake | kCompare},
    };
    for (const Case& c : cases) {
        const uint8_t m = MaskFor(c.looked, c.active, c.opponentLooked);
        EXPECT_EQ(m, c.mask) << c.looked << c.active << c.opponentLooked;
        if (m & kCompare) {
            EXPECT_TRUE(m & kStake);  // compare only together with follow
        }
    }
}

TEST(Settlement, TaxLevelsAndPoints) {
    struct TaxCase { int64_t gross, tax; };
    for (const TaxCase& c : {TaxCase{10000, 300}, TaxCase{3000, 90}, TaxCase{99, 2}, TaxCase{33, 0},
                             TaxCase{0, 0}})
        EXPECT_EQ(TaxOn(c.gross, 3), c.tax) << c.gross;

    struct LevelCase { int64_t points; int level; };
    for (const LevelCase& c : {LevelCase{0, 1}, LevelCase{999, 1}, LevelCase{1000, 2}, LevelCase{3999, 2},
                               LevelCase{4000, 3}, LevelCase{1520999, 39}, LevelCase{1521000, 40},
                               LevelCase{int64_t(1) << 50, 40}})
        EXPECT_EQ(LevelForPoints(c.points), c.level) << c.points;
    EXPECT_EQ(LevelTitle(1), QString::fromUtf8("第一级"));
    EXPECT_EQ(LevelTitle(10), QString::fromUtf8("第十级"));
    EXPECT_EQ(LevelTitle(11), QString::fromUtf8("第十一级"));
    EXPECT_EQ(LevelTitle(20), QString::fromUtf8("第二十级"));
    EXPECT_EQ(LevelTitle(34), QString::fromUtf8("第三十四级"));
    EXPECT_EQ(LevelTitle(40), QString::fromUtf8("第四十级"));

    EXPECT_EQ(PointsAfter(500, 200, true), 700);
    EXPECT_EQ(PointsAfter(500, 200, false), 300);
    EXPECT_EQ(PointsAfter(100, 200, false), 1);  // below zero leaves 1, as the client keeps it
}

TEST(Settlement, WinnerTakesOthersUnitsLessTax) {
    Rules rules;
    rules.baseStake = 100;
    const std::array<int, 4> contributed{10, 60, 35, 120};
    const auto results = Settle(contributed, 3, rules);
    const int64_t winnings = (10 + 60 + 35) * 100;
    EXPECT_TRUE(results[3].won);
    EXPECT_EQ(results[3].gross, winnings);
    EXPECT_EQ(results[3].tax, winnings * 3 / 100);
    EXPECT_EQ(results[3].final, winnings - winnings * 3 / 100);
    int64_t net = results[3].final;
    for (int s = 0; s < 3; ++s) {
        EXPECT_FALSE(results[s].won);
        EXPECT_EQ(results[s].gross, contributed[s] * 100);
        EXPECT_EQ(results[s].final, results[s].gross);  // no tax on a loss
        net -= results[s].final;
    }
    EXPECT_EQ(net, -results[3].tax);  // coins conserved apart from the tax
}

}  // namespace
}  // namespace sorvik::server
