#pragma once
// How a bot plays: by the strength of its own hand once it has looked, by the size of
// the pot and its own stake before that. A bot sees only what a player may see.

#include <cstdint>
#include <optional>
#include <vector>

#include "Cards.h"
#include "Rng.h"

namespace sorvik::server {

struct BotView {
    bool looked = false;
    std::optional<Hand3> cards;  // set only once the bot has looked
    uint8_t mask = 0;
    int stake = 0;
    int cap = 0;
    int active = 0;
    int pot = 0;
    int potLimit = 0;
    int contributed = 0;
    std::vector<int> targets;  // seats a compare may be made against
};

struct BotChoice {
    uint8_t code = 0;
    int arg = 0;  // stake amount, or the compare target's seat bit
};

// 0 (weakest) .. 100 (strongest) for a three-card hand.
int HandStrength(const Hand3& hand);
BotChoice DecideBot(const BotView& view, Rng& rng);

}  // namespace sorvik::server
