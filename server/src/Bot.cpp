#include "Bot.h"

#include "Rules.h"

namespace sorvik::server {

int HandStrength(const Hand3& hand) {
    const HandRank r = RankHand(hand);
    switch (r.cls) {
        case HandClass::HighCard: return (r.keys[0] - 4) * 2 + (r.keys[1] >= 10 ? 2 : 0);  // 2..22
        case HandClass::Pair: return 35 + (r.keys[0] - 2) * 2;  // 35..59
        case HandClass::Straight: return 70 + r.keys[0] - 3;   // 70..81
        case HandClass::Flush: return 82 + (r.keys[0] - 5);   // 82..91
        case HandClass::StraightFlush: return 94;
        case HandClass::Trips: return 97 + (r.keys[0] >= 12 ? 3 : r.keys[0] >= 7 ? 1 : 0);
    }
    return 0;
}

namespace {

BotChoice Follow(const BotView& v, int raise) {
    int amount = v.stake + raise;
    if (amount > v.cap) amount = v.cap;
    return {kStake, amount};
}

BotChoice CompareWith(const BotView& v, Rng& rng) {
    const int target = v.targets.empty() ? 0 : v.targets[rng.Below(uint32_t(v.targets.size()))];
    return {kCompare, target >= 0 ? 1 << target : 0};
}

int RaiseStep(Rng& rng) {
    static const int kSteps[] = {10, 20, 50};
    return kSteps[rng.Below(3)];
}

}  // namespace

BotChoice DecideBot(const BotView& v, Rng& rng) {
    const bool canCompare = (v.mask & kCompare) && !v.targets.empty();
    const bool canLook = v.mask & kLook;
    const bool potLate = v.pot * 2 >= v.potLimit;

    if (!v.looked || !v.cards) {
        // Blind: look sooner as the pot and the own stake grow.
        int lookChance = 30 + v.contributed / 2 + (potLate ? 30 : 0);
        if (canLook && rng.Percent(uint32_t(lookChance > 95 ? 95 : lookChance))) return {kLook, 0};
        if (rng.Percent(15)) return Follow(v, RaiseStep(rng));
        return Follow(v, 0);
    }

    const int strength = HandStrength(*v.cards);
    const int threshold = 8 + (v.active - 2) * 4 + (potLate ? 6 : 0);
    if (strength < threshold) {
        // Weak: give up, or now and then bluff on or take a cheap compare.
        if (canCompare && v.active == 2 && rng.Percent(40)) return CompareWith(v, rng);
        if (rng.Percent(15)) return Follow(v, 0);
        return {kGiveUp, 0};
    }
    if (strength >= 70) {
        if (canCompare && (v.active == 2 || potLate) && rng.Percent(35)) return CompareWith(v, rng);
        return Follow(v, rng.Percent(70) ? RaiseStep(rng) : 0);
    }
    if (strength >= 35) {
        if (canCompare && rng.Percent(v.active == 2 ? 45 : 20)) return CompareWith(v, rng);
        return Follow(v, rng.Percent(25) ? 10 : 0);
    }
    // A middling high card: stay in cheaply, compare when it is offered.
    if (canCompare && rng.Percent(55)) return CompareWith(v, rng);
    if (v.stake > v.cap / 2 && rng.Percent(50)) return {kGiveUp, 0};
    return Follow(v, 0);
}

}  // namespace sorvik::server
