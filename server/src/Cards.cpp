#include "Cards.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace sorvik::server {

namespace {
constexpr char kRankChars[] = "??23456789TJQKA";
constexpr char kSuitChars[] = "cdhs";
}  // namespace

HandRank RankHand(const Hand3& hand) {
    std::array<uint8_t, 3> r{hand[0].rank, hand[1].rank, hand[2].rank};
    std::sort(r.begin(), r.end(), std::greater<>());
    const bool flush = hand[0].suit == hand[1].suit && hand[1].suit == hand[2].suit;
    bool straight = r[0] == r[1] + 1 && r[1] == r[2] + 1;
    // A-2-3 is the lowest straight: the ace counts as one.
    if (r[0] == 14 && r[1] == 3 && r[2] == 2) {
        straight = true;
        r = {3, 2, 1};
    }
    if (r[0] == r[2]) return {HandClass::Trips, {r[0], 0, 0}};
    if (straight && flush) return {HandClass::StraightFlush, r};
    if (flush) return {HandClass::Flush, r};
    if (straight) return {HandClass::Straight, r};
    if (r[0] == r[1]) return {HandClass::Pair, {r[0], r[2], 0}};
    if (r[1] == r[2]) return {HandClass::Pair, {r[1], r[0], 0}};
    return {HandClass::HighCard, r};
}

const char* ClassName(HandClass cls) {
    switch (cls) {
        case HandClass::HighCard: return "high_card";
        case HandClass::Pair: return "pair";
        case HandClass::Straight: return "straight";
        case HandClass::Flush: return "flush";
        case HandClass::StraightFlush: return "straight_flush";
        case HandClass::Trips: return "trips";
    }
    return "?";
}

std::string CardText(Card card) {
    std::string text;
    text += card.rank <= 14 ? kRankChars[card.rank] : '?';
    text += card.suit < 4 ? kSuitChars[card.suit] : '?';
    return text;
}

std::string HandText(const Hand3& hand) {
    return CardText(hand[0]) + "," + CardText(hand[1]) + "," + CardText(hand[2]);
}

Card ParseCard(const std::string& text) {
    if (text.size() != 2) return {};
    const char* r = std::strchr(kRankChars + 2, text[0]);
    const char* s = std::strchr(kSuitChars, text[1]);
    if (!r || !s || !*r || !*s) return {};
    return {static_cast<uint8_t>(r - kRankChars), static_cast<uint8_t>(s - kSuitChars)};
}

Hand3 ParseHand(const std::string& text) {
    std::istringstream in(text);
    Hand3 hand{};
    for (Card& c : hand) {
        std::string word;
        in >> word;
        c = ParseCard(word);
    }
    return hand;
}

Deck FreshDeck() {
    Deck deck{};
    int i = 0;
    for (uint8_t suit = 0; suit < 4; ++suit)
        for (uint8_t rank = 2; rank <= 14; ++rank) deck[i++] = {rank, suit};
    return deck;
}

void Shuffle(Deck& deck, Rng& rng) {
    for (uint32_t i = deck.size() - 1; i > 0; --i) std::swap(deck[i], deck[rng.Below(i + 1)]);
}

}  // namespace sorvik::server
