#pragma once
// The arithmetic of the game: stakes, caps, masks, compare costs, tax, levels and the
// settlement of a hand. Amounts in "units" are the chips of the table; coins are units
// times the base stake.

#include <QString>
#include <array>
#include <cstdint>

namespace sorvik::server {

// Action codes, the same bits in the allowed-actions mask.
enum ActionCode : uint8_t { kGiveUp = 1, kLook = 2, kStake = 4, kCompare = 8 };

struct Rules {
    int baseStake = 100;  // coins per unit
    int potLimit = 500;   // units in the pot that open all hands
    int anteUnits = 10;   // every seat's ante
    int openingLevel = 10;  // the blind stake when a hand begins
    int blindCap = 50;
    int lookedCap = 100;
    int taxPercent = 3;
};

// The stake is kept as one "level" in blind units: a blind player stakes the level, a
// player who has looked twice the level. Both caps then map to the same level of 50.
inline int StakeFor(const Rules& rules, int level, bool looked) {
    const int stake = looked ? 2 * level : level;
    const int cap = looked ? rules.lookedCap : rules.blindCap;
    return stake < cap ? stake : cap;
}
inline int CapFor(const Rules& rules, bool looked) { return looked ? rules.lookedCap : rules.blindCap; }

// A stake amount held to [stake, cap]: less than the stake is raised to it, more than the
// cap is cut to it.
inline int HoldStake(int amount, int stake, int cap) {
    if (amount < stake) return stake;
    if (amount > cap) return cap;
    return amount;
}

// The level after a stake of `amount` (already held) by a blind or looked player.
inline int LevelAfterStake(int amount, bool looked) { return looked ? amount / 2 : amount; }

// A compare costs the actor's stake, twice it when only two players remain.
inline int CompareCost(int stake, int active) { return active == 2 ? 2 * stake : stake; }

// Give up always; look until looked; follow always; compare only with follow and only when
// an opponent still in the hand has looked or two players remain.
inline uint8_t MaskFor(bool looked, int active, bool opponentLooked) {
    uint8_t mask = kGiveUp | kStake;
    if (!looked) mask |= kLook;
    if (active == 2 || opponentLooked) mask |= kCompare;
    return mask;
}

// Tax on a winner's gross result, rounded down to whole coins.
inline int64_t TaxOn(int64_t gross, int taxPercent) { return gross * taxPercent / 100; }

// Level n (1..40) needs 1000 * (n - 1)^2 points.
int LevelForPoints(int64_t points);
QString LevelTitle(int level);  // "第一级" .. "第四十级"

// Points after a hand, as the client keeps them: a loss below zero leaves 1.
inline int64_t PointsAfter(int64_t points, int64_t final, bool won) {
    if (won) return points + final;
    const int64_t p = points - final;
    return p < 0 ? 1 : p;
}

// Coins a player needs to sit down for a hand: the most one player can put in, which is
// the pot limit plus the largest single action (a compare of two looked players).
inline int64_t ReserveCoins(const Rules& rules) {
    return int64_t(rules.potLimit + 2 * rules.lookedCap) * rules.baseStake;
}

struct SeatResult {
    bool won = false;
    int64_t gross = 0;  // magnitude in coins
    int64_t final = 0;  // magnitude in coins, after tax for the winner
    int64_t tax = 0;
};

// The winner takes the others' units; every loser loses its own. Coins in the results.
std::array<SeatResult, 4> Settle(const std::array<int, 4>& contributed, int winner,
                                 const Rules& rules);

}  // namespace sorvik::server
