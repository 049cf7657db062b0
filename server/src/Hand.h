#pragma once
// One hand of the game as a pure state machine: the turn order, the actions and their
// costs, comparisons, the pot limit and the winner. No frames, no time.

#include <array>
#include <cstdint>
#include <string>

#include "Cards.h"
#include "Rules.h"

namespace sorvik::server {

enum class EventKind : uint8_t { Begin, GiveUp, Look, Stake, Compare };

// What one step of the hand did, with everything a frame for any recipient needs.
struct TurnEvent {
    EventKind kind = EventKind::Begin;
    int actor = -1;
    int units = 0;  // what the actor put in
    int winner = -1, loser = -1;  // a comparison
    bool opened = false;          // the pot limit opened all hands
    std::array<int, 4> openOrder{-1, -1, -1, -1};  // seats shown, the winner first
    bool ended = false;
    int handWinner = -1;
    int next = -1;  // the player to act, -1 when the hand is over
    uint8_t nextMask = 0;
    int nextStake = 0;
    bool forced = false;  // the server acted for the player
};

enum class Refusal : uint8_t { None, HandOver, NotInHand, NotYourTurn, AlreadyLooked,
                               CompareNotAllowed, UnknownAction };
const char* RefusalName(Refusal r);

struct ActResult {
    Refusal refusal = Refusal::None;
    TurnEvent event;
    bool amountHeld = false;     // a stake amount outside [stake, cap] was held to it
    bool targetResolved = false; // a compare target was chosen by the server
};

class Hand {
public:
    Hand(const Rules& rules, const std::array<Hand3, 4>& cards, int firstSeat);

    // The opening event: no action, the first player named.
    TurnEvent Begin() const;
    // An action by `seat`: code 1, 2, 4 or 8; `arg` the stake amount or the compare
    // target's seat bit.
    ActResult Act(int seat, uint8_t code, int arg);
    // The server gives up for a player, in turn or not (turn limit, departure).
    TurnEvent ForceGiveUp(int seat);

    bool Over() const { return winner_ >= 0; }
    int Winner() const { return winner_; }
    int Current() const { return current_; }
    int Pot() const { return pot_; }
    int Level() const { return level_; }
    int ActiveCount() const;
    bool Active(int seat) const { return active_[seat]; }
    bool Looked(int seat) const { return looked_[seat]; }
    int Contributed(int seat) const { return contributed_[seat]; }
    const std::array<int, 4>& Contributions() const { return contributed_; }
    const Hand3& Cards(int seat) const { return cards_[seat]; }
    const std::array<Hand3, 4>& AllCards() const { return cards_; }
    bool OpponentLooked(int seat) const;
    uint8_t MaskOf(int seat) const;
    int StakeOf(int seat) const { return StakeFor(rules_, level_, looked_[seat]); }
    int CapOf(int seat) const { return CapFor(rules_, looked_[seat]); }
    // The seat a compare by `seat` with target bit `targetBit` is made against, and whether
    // that was the target asked for; -1 when there is none.
    int ResolveTarget(int seat, int targetBit, bool* asked) const;
    int NextActiveAfter(int seat) const;

private:
    void Name(TurnEvent& ev, int next) const;
    void Finish(TurnEvent& ev, int winner);
    // The best of the seats still in, ties going to the first after `challenger` in turn
    // order (the challenger last).
    int ShowdownWinner(int challenger) const;

    Rules rules_;
    std::array<Hand3, 4> cards_;
    std::array<bool, 4> active_{true, true, true, true};
    std::array<bool, 4> looked_{};
    std::array<int, 4> contributed_{};
    int pot_ = 0;
    int level_ = 0;
    int current_ = 0;
    int winner_ = -1;
};

}  // namespace sorvik::server
