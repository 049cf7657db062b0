#pragma once
// Cards, the deck and the ranking of three-card hands.

#include <array>
#include <compare>
#include <cstdint>
#include <string>

#include "Rng.h"

namespace sorvik::server {

struct Card {
    uint8_t rank = 0;  // 2..14, 14 the ace
    uint8_t suit = 0;  // 0..3
    // The 32-bit code the client reads: suit one-hot in bits 0..3, rank in bits 8..15.
    uint32_t Code() const { return uint32_t(rank) << 8 | (1u << suit); }
    bool operator==(const Card&) const = default;
};

using Hand3 = std::array<Card, 3>;

enum class HandClass : uint8_t { HighCard, Pair, Straight, Flush, StraightFlush, Trips };

// Ordered: a greater HandRank is a stronger hand; equal ranks are a tie.
struct HandRank {
    HandClass cls = HandClass::HighCard;
    std::array<uint8_t, 3> keys{};
    auto operator<=>(const HandRank&) const = default;
};

HandRank RankHand(const Hand3& hand);
const char* ClassName(HandClass cls);

// "As", "Td", "2c": rank 2..9, T, J, Q, K, A; suit c, d, h, s for suits 0..3.
std::string CardText(Card card);
std::string HandText(const Hand3& hand);
// The inverse of CardText; a card with rank 0 when the text is not a card.
Card ParseCard(const std::string& text);
Hand3 ParseHand(const std::string& text);  // "As Kd 2c"

using Deck = std::array<Card, 52>;
Deck FreshDeck();
void Shuffle(Deck& deck, Rng& rng);

}  // namespace sorvik::server
