#include "Hand.h"

namespace sorvik::server {

const char* RefusalName(Refusal r) {
    switch (r) {
        case Refusal::None: return "none";
        case Refusal::HandOver: return "hand_over";
        case Refusal::NotInHand: return "not_in_hand";
        case Refusal::NotYourTurn: return "not_your_turn";
        case Refusal::AlreadyLooked: return "already_looked";
        case Refusal::CompareNotAllowed: return "compare_not_allowed";
        case Refusal::UnknownAction: return "unknown_action";
    }
    return "?";
}

Hand::Hand(const Rules& rules, const std::array<Hand3, 4>& cards, int firstSeat)
    : rules_(rules), cards_(cards), level_(rules.openingLevel), current_(firstSeat & 3) {
    for (int s = 0; s < 4; ++s) contributed_[s] = rules.anteUnits;
    pot_ = 4 * rules.anteUnits;
}

int Hand::ActiveCount() const {
    int n = 0;
    for (bool a : active_) n += a;
    return n;
}

bool Hand::OpponentLooked(int seat) const {
    for (int s = 0; s < 4; ++s)
        if (s != seat && active_[s] && looked_[s]) return true;
    return false;
}

uint8_t Hand::MaskOf(int seat) const {
    return MaskFor(looked_[seat], ActiveCount(), OpponentLooked(seat));
}

int Hand::NextActiveAfter(int seat) const {
    for (int k = 1; k <= 4; ++k) {
        const int s = (seat + k) & 3;
        if (active_[s]) return s;
    }
    return -1;
}

void Hand::Name(TurnEvent& ev, int next) const {
    ev.next = next;
    ev.nextMask = MaskOf(next);
    ev.nextStake = StakeOf(next);
}

void Hand::Finish(TurnEvent& ev, int winner) {
    winner_ = winner;
    current_ = -1;
    ev.ended = true;
    ev.handWinner = winner;
    ev.next = -1;
    ev.nextMask = 0;
    ev.nextStake = 0;
}

TurnEvent Hand::Begin() const {
    TurnEvent ev;
    ev.kind = EventKind::Begin;
    ev.actor = current_;
    if (Over()) {
        ev.ended = true;
        ev.handWinner = winner_;
        return ev;
    }
    Name(ev, current_);
    return ev;
}

int Hand::ShowdownWinner(int challenger) const {
    int best = -1;
    for (int k = 1; k <= 4; ++k) {
        const int s = (challenger + k) & 3;
        if (!active_[s]) continue;
        if (best < 0 || RankHand(cards_[best]) < RankHand(cards_[s])) best = s;
    }
    return best;
}

int Hand::ResolveTarget(int seat, int targetBit, bool* asked) const {
    const int low = targetBit & 0x0F;
    int target = -1;
    if (low == 1 || low == 2 || low == 4 || low == 8) target = low == 1 ? 0 : low == 2 ? 1 : low == 4 ? 2 : 3;
    const int active = ActiveCount();
    auto valid = [&](int s) {
        return s >= 0 && s != seat && active_[s] && (active == 2 || looked_[s]);
    };
    // With two left, the own seat names the other player (the client sends it when no
    // opponent has looked).
    if (active == 2 && target == seat) {
        if (asked) *asked = true;
        return NextActiveAfter(seat);
    }
    if (asked) *asked = valid(target);
    if (valid(target)) return target;
    for (int k = 1; k < 4; ++k) {
        const int s = (seat + k) & 3;
        if (valid(s)) return s;
    }
    return -1;
}

TurnEvent Hand::ForceGiveUp(int seat) {
    TurnEvent ev;
    ev.kind = EventKind::GiveUp;
    ev.actor = seat;
    ev.forced = true;
    if (Over() || !active_[seat]) return ev;
    active_[seat] = false;
    looked_[seat] = false;
    if (ActiveCount() == 1) {
        Finish(ev, NextActiveAfter(seat));
        return ev;
    }
    if (current_ == seat) current_ = NextActiveAfter(seat);
    Name(ev, current_);
    return ev;
}

ActResult Hand::Act(int seat, uint8_t code, int arg) {
    ActResult result;
    TurnEvent& ev = result.event;
    ev.actor = seat;
    if (Over()) { result.refusal = Refusal::HandOver; return result; }
    if (seat < 0 || seat > 3 || !active_[seat]) { result.refusal = Refusal::NotInHand; return result; }
    if (seat != current_) { result.refusal = Refusal::NotYourTurn; return result; }

    switch (code) {
        case kGiveUp:
            result.event = ForceGiveUp(seat);
            result.event.forced = false;
            return result;

        case kLook:
            if (looked_[seat]) { result.refusal = Refusal::AlreadyLooked; return result; }
            looked_[seat] = true;
            ev.kind = EventKind::Look;
            Name(ev, seat);  // looking does not pass the turn
            return result;

        case kStake: {
            const int stake = StakeOf(seat), cap = CapOf(seat);
            const int amount = HoldStake(arg, stake, cap);
            result.amountHeld = amount != arg;
            contributed_[seat] += amount;
            pot_ += amount;
            level_ = LevelAfterStake(amount, looked_[seat]);
            ev.kind = EventKind::Stake;
            ev.units = amount;
            if (pot_ >= rules_.potLimit) {
                ev.opened = true;
                const int winner = ShowdownWinner(seat);
                int n = 0;
                ev.openOrder[n++] = winner;
                for (int s = 0; s < 4; ++s)
                    if (active_[s] && s != winner) ev.openOrder[n++] = s;
                Finish(ev, winner);
                return result;
            }
            current_ = NextActiveAfter(seat);
            Name(ev, current_);
            return result;
        }

        case kCompare: {
            if (!(MaskOf(seat) & kCompare)) { result.refusal = Refusal::CompareNotAllowed; return result; }
            bool asked = false;
            const int target = ResolveTarget(seat, arg, &asked);
            if (target < 0) { result.refusal = Refusal::CompareNotAllowed; return result; }
            result.targetResolved = !asked;
            const int active = ActiveCount();
            const int cost = CompareCost(StakeOf(seat), active);
            contributed_[seat] += cost;
            pot_ += cost;
            ev.kind = EventKind::Compare;
            ev.units = cost;
            // The challenger loses a tie.
            const bool actorWins = RankHand(cards_[target]) < RankHand(cards_[seat]);
            ev.winner = actorWins ? seat : target;
            ev.loser = actorWins ? target : seat;
            active_[ev.loser] = false;
            looked_[ev.loser] = false;
            if (active == 2) {
                Finish(ev, ev.winner);
                return result;
            }
            current_ = NextActiveAfter(seat);
            Name(ev, current_);
            return result;
        }

        default:
            result.refusal = Refusal::UnknownAction;
            return result;
    }
}

}  // namespace sorvik::server
