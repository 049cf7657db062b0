#include "Table.h"

namespace sorvik::server {

const char* TableStateName(TableState s) {
    switch (s) {
        case TableState::Waiting: return "waiting";
        case TableState::Between: return "between";
        case TableState::Playing: return "playing";
        case TableState::Closed: return "closed";
    }
    return "?";
}

namespace {
const char* EventName(EventKind k) {
    switch (k) {
        case EventKind::Begin: return "begin";
        case EventKind::GiveUp: return "give_up";
        case EventKind::Look: return "look";
        case EventKind::Stake: return "stake";
        case EventKind::Compare: return "compare";
    }
    return "?";
}
}  // namespace

Table::Table(int id, const Rules& rules, const TableOptions& options, Scheduler& scheduler,
             Logger& log, TableHost& host, uint64_t seed)
    : id_(id), rules_(rules), opt_(options), sched_(scheduler), log_(log), host_(host), rng_(seed) {
    for (int s = 0; s < 4; ++s) seats_[s].rng.Seed(seed ^ (0x5851F42D4C957F2Dull * (s + 1)));
}

Table::~Table() { DisarmAll(); }

void Table::Arm(TimerSlot& slot, int64_t ms, std::function<void()> task) {
    Disarm(slot);
    slot.id = sched_.After(ms, [&slot, task = std::move(task)] {
        slot.id = 0;
        task();
    });
}

void Table::Disarm(TimerSlot& slot) {
    if (slot.id) sched_.Cancel(slot.id);
    slot.id = 0;
}

void Table::DisarmAll() {
    Disarm(startTimer_);
    Disarm(dealTimer_);
    Disarm(turnTimer_);
    for (Seat& s : seats_) {
        Disarm(s.botTimer);
        Disarm(s.holdTimer);
    }
}

void Table::Open() {
    for (int s = opt_.humanSeats; s < 4; ++s) {
        Seat& seat = seats_[s];
        seat.kind = Seat::Kind::Bot;
        seat.bot = MakeBotProfile(id_, s, opt_.botCoins, seat.rng);
        ledger_.coinsIn += seat.bot.coins;
    }
    log_.Event("table_open", {{"table", id_}, {"bots", 4 - opt_.humanSeats}});
    if (Full()) EnterBetween(false);
}

bool Table::Joinable() const {
    if (state_ != TableState::Waiting) return false;
    for (int s = 0; s < opt_.humanSeats; ++s)
        if (seats_[s].kind == Seat::Kind::Empty) return true;
    return false;
}

bool Table::Full() const {
    for (const Seat& s : seats_)
        if (s.kind == Seat::Kind::Empty) return false;
    return true;
}

bool Table::AllReady() const {
    for (const Seat& s : seats_)
        if (!s.ready) return false;
    return true;
}

bool Table::AnyHeld() const {
    for (const Seat& s : seats_)
        if (s.held) return true;
    return false;
}

uint8_t Table::OccupiedMask() const {
    uint8_t m = 0;
    for (int s = 0; s < 4; ++s)
        if (seats_[s].kind != Seat::Kind::Empty && !seats_[s].departed) m |= SeatBit(s);
    return m;
}

const Profile* Table::SeatProfile(int seat) const {
    if (seat < 0 || seat > 3 || seats_[seat].kind == Seat::Kind::Empty) return nullptr;
    return &seats_[seat].profile();
}

int64_t Table::CoinsSeated() const {
    if (state_ == TableState::Closed) return 0;
    int64_t sum = 0;
    for (const Seat& s : seats_)
        if (s.kind != Seat::Kind::Empty) sum += s.profile().coins;
    return sum;
}

bool Table::HasAccount(const std::string& account) const { return SeatOf(account) >= 0; }

int Table::SeatOf(const std::string& account) const {
    for (int s = 0; s < 4; ++s)
        if (seats_[s].kind == Seat::Kind::Human && !seats_[s].departed &&
            seats_[s].human->account == account)
            return s;
    return -1;
}

int Table::HeldSeat(const std::string& account, uint16_t tag) const {
    for (int s = 0; s < 4; ++s) {
        const Seat& seat = seats_[s];
        if (seat.kind == Seat::Kind::Human && seat.held && seat.tag == tag &&
            seat.human->account == account)
            return s;
    }
    return -1;
}

void Table::Deliver(int seat, const PacketFrame& frame) {
    Seat& s = seats_[seat];
    if (s.kind != Seat::Kind::Human || s.departed) return;
    if (s.sink)
        s.sink->SendFrame(frame);
    else if (s.held)
        s.missed.push_back(frame);
}

void Table::Broadcast(const std::function<PacketFrame(int)>& build) {
    for (int s = 0; s < 4; ++s)
        if (seats_[s].kind == Seat::Kind::Human && !seats_[s].departed) Deliver(s, build(s));
}

int Table::SeatHuman(Profile& account, FrameSink* sink, uint16_t tag) {
    int seat = -1;
    for (int s = 0; s < opt_.humanSeats && seat < 0; ++s)
        if (seats_[s].kind == Seat::Kind::Empty) seat = s;
    if (seat < 0 || state_ != TableState::Waiting) return -1;
    Seat& st = seats_[seat];
    st.kind = Seat::Kind::Human;
    st.human = &account;
    st.sink = sink;
    st.tag = tag;
    st.ready = st.held = st.departed = false;
    st.missed.clear();
    ledger_.coinsIn += account.coins;
    log_.Event("seat", {{"table", id_}, {"seat", seat}, {"name", account.account}});

    Deliver(seat, UserInfoFrame(account, seat, seat, false));
    for (int o = 0; o < 4; ++o)
        if (o != seat && seats_[o].kind != Seat::Kind::Empty)
            Deliver(seat, UserInfoFrame(seats_[o].profile(), o, seat, seats_[o].ready));
    for (int o = 0; o < 4; ++o)
        if (o != seat && seats_[o].kind == Seat::Kind::Human)
            Deliver(o, UserInfoFrame(account, seat, o, false));
    if (Full()) EnterBetween(false);
    return seat;
}

void Table::EnterBetween(bool afterHand) {
    state_ = TableState::Between;
    for (int s = 0; s < 4; ++s) {
        if (afterHand) seats_[s].ready = false;
        if (seats_[s].kind == Seat::Kind::Bot && !seats_[s].ready)
            Arm(seats_[s].botTimer, opt_.readyMs, [this, s] { MarkReady(s); });
    }
    Arm(startTimer_, afterHand ? opt_.nextStartMs : opt_.firstStartMs, [this] { StartTimerFired(); });
}

void Table::StartTimerFired() {
    if (state_ != TableState::Between) return;
    // A held seat waits for its player or for the hold to run out.
    if (AnyHeld()) return;
    StartHand();
}

void Table::MarkReady(int seat) {
    Seat& s = seats_[seat];
    if (state_ != TableState::Waiting && state_ != TableState::Between) {
        log_.Event("ignored", {{"table", id_}, {"seat", seat}, {"what", "ready_during_hand"}});
        return;
    }
    if (s.ready) return;
    s.ready = true;
    const std::string name = s.profile().account;
    Broadcast([&](int) { return ReadyNoticeFrame(name); });
    if (opt_.verbose) log_.Event("ready", {{"table", id_}, {"seat", seat}, {"name", name}});
    if (state_ == TableState::Between && AllReady() && !AnyHeld()) StartHand();
}

void Table::StartHand() {
    Disarm(startTimer_);
    for (Seat& s : seats_) {
        Disarm(s.botTimer);
        s.ready = false;
    }
    Deck deck = FreshDeck();
    Shuffle(deck, rng_);
    std::array<Hand3, 4> cards{};
    for (int s = 0; s < 4; ++s)
        for (int k = 0; k < 3; ++k) cards[s][k] = deck[3 * s + k];
    first_ = first_ < 0 ? int(rng_.Below(4)) : (first_ + 1) & 3;
    hand_.emplace(rules_, cards, first_);
    begun_ = false;
    state_ = TableState::Playing;
    ++handNumber_;
    ++ledger_.handsStarted;
    log_.Event("hand_start", {{"table", id_}, {"hand", handNumber_}, {"first", first_}});
    const int base = rules_.baseStake, first = first_;
    Broadcast([&](int) { return GameStartFrame(first, base); });
    Arm(dealTimer_, opt_.dealMs, [this] { BeginTurns(); });
}

void Table::BeginTurns() {
    if (!hand_) return;
    begun_ = true;
    Publish(hand_->Begin());
}

void Table::LogTurn(const TurnEvent& ev) {
    if (!opt_.verbose) return;
    log_.Event("turn", {{"table", id_},
                        {"hand", handNumber_},
                        {"action", EventName(ev.kind)},
                        {"actor", ev.actor},
                        {"units", ev.units},
                        {"forced", ev.forced},
                        {"next", ev.next},
                        {"mask", int(ev.nextMask)},
                        {"stake", ev.nextStake},
                        {"pot", hand_ ? hand_->Pot() : 0}});
}

void Table::Publish(const TurnEvent& ev) {
    const std::array<Hand3, 4> cards = hand_->AllCards();
    Broadcast([&](int recipient) { return TurnUpdateFor(ev, cards, recipient); });
    LogTurn(ev);
    if (ev.ended) {
        FinishHand();
        return;
    }
    if (begun_) OfferTurn(ev.next);
}

void Table::OfferTurn(int seat) {
    Arm(turnTimer_, opt_.turnMs, [this, seat] { TurnTimedOut(seat); });
    if (seats_[seat].kind == Seat::Kind::Bot)
        Arm(seats_[seat].botTimer, opt_.thinkMs, [this, seat] { BotAct(seat); });
}

void Table::TurnTimedOut(int seat) {
    if (!hand_ || hand_->Current() != seat) return;
    log_.Event("turn_limit", {{"table", id_}, {"seat", seat}});
    Publish(hand_->ForceGiveUp(seat));
}

void Table::BotAct(int seat) {
    if (!hand_ || hand_->Current() != seat) return;
    Seat& s = seats_[seat];
    BotView v;
    v.looked = hand_->Looked(seat);
    if (v.looked) v.cards = hand_->Cards(seat);
    v.mask = hand_->MaskOf(seat);
    v.stake = hand_->StakeOf(seat);
    v.cap = hand_->CapOf(seat);
    v.active = hand_->ActiveCount();
    v.pot = hand_->Pot();
    v.potLimit = rules_.potLimit;
    v.contributed = hand_->Contributed(seat);
    for (int k = 1; k < 4; ++k) {
        const int t = (seat + k) & 3;
        if (hand_->Active(t) && (v.active == 2 || hand_->Looked(t))) v.targets.push_back(t);
    }
    const BotChoice choice = DecideBot(v, s.rng);
    ActResult r = hand_->Act(seat, choice.code, choice.arg);
    if (r.refusal != Refusal::None) {
        log_.Event("bot_refused", {{"table", id_}, {"seat", seat}, {"why", RefusalName(r.refusal)}});
        Publish(hand_->ForceGiveUp(seat));
        return;
    }
    Publish(r.event);
}

void Table::Reoffer(int seat) {
    if (!hand_ || !begun_ || hand_->Current() != seat) return;
    const uint8_t mask = hand_->MaskOf(seat);
    const int stake = hand_->StakeOf(seat);
    Broadcast([&](int) { return TurnOfferFrame(seat, mask, stake); });
}

void Table::HandleAction(int seat, const PacketFrame& f) {
    const uint8_t code = f[9];
    const int arg = f[15];
    auto ignore = [&](const char* why) {
        log_.Event("ignored", {{"table", id_}, {"seat", seat}, {"what", "action"},
                               {"code", int(code)}, {"arg", arg}, {"why", why}});
    };
    if (SeatOfBit(f[6]) != seat) {
        ignore("seat_byte");
        Reoffer(seat);
        return;
    }
    if (state_ != TableState::Playing || !hand_ || !begun_) {
        ignore("no_hand");
        return;
    }
    ActResult r = hand_->Act(seat, code, arg);
    if (r.refusal != Refusal::None) {
        ignore(RefusalName(r.refusal));
        // The player whose turn it is gets the turn offered again, so the hand never
        // waits on a frame that was not taken.
        Reoffer(seat);
        return;
    }
    if (r.amountHeld)
        log_.Event("held", {{"table", id_}, {"seat", seat}, {"asked", arg}, {"taken", r.event.units}});
    if (r.targetResolved)
        log_.Event("target_resolved", {{"table", id_}, {"seat", seat}, {"asked", arg},
                                       {"taken", r.event.winner == seat ? r.event.loser : r.event.winner}});
    Publish(r.event);
}

void Table::FinishHand() {
    Disarm(turnTimer_);
    Disarm(dealTimer_);
    for (Seat& s : seats_) Disarm(s.botTimer);
    const int winner = hand_->Winner();
    const std::array<SeatResult, 4> results = Settle(hand_->Contributions(), winner, rules_);
    std::array<int, 4> levels{};
    for (int s = 0; s < 4; ++s) {
        Profile& p = seats_[s].profile();
        const SeatResult& r = results[s];
        if (s == winner) {
            p.coins += r.final;
            ++p.wins;
        } else {
            p.coins -= r.final;
            if (p.coins < 0) p.coins = 0;
            ++p.losses;
        }
        p.points = PointsAfter(p.points, r.final, s == winner);
        levels[s] = LevelForPoints(p.points);
    }
    ledger_.tax += results[winner].tax;
    ++ledger_.handsSettled;
    const int base = rules_.baseStake;
    for (int recipient = 0; recipient < 4; ++recipient) {
        if (seats_[recipient].kind != Seat::Kind::Human || seats_[recipient].departed) continue;
        for (int s = 0; s < 4; ++s) Deliver(recipient, GameResultFrame(s, results[s], winner, base, levels[s]));
    }
    log_.Event("hand_end", {{"table", id_},
                            {"hand", handNumber_},
                            {"winner", winner},
                            {"pot", hand_->Pot()},
                            {"tax", results[winner].tax},
                            {"cards", HandText(hand_->Cards(0)) + "|" + HandText(hand_->Cards(1)) + "|" +
                                          HandText(hand_->Cards(2)) + "|" + HandText(hand_->Cards(3))},
                            {"coins", std::to_string(static_cast<long long>(seats_[0].profile().coins)) + "|" +
                                          std::to_string(static_cast<long long>(seats_[1].profile().coins)) + "|" +
                                          std::to_string(static_cast<long long>(seats_[2].profile().coins)) + "|" +
                                          std::to_string(static_cast<long long>(seats_[3].profile().coins))}});
    hand_.reset();
    begun_ = false;
    host_.HandSettled(id_);
    if (state_ != TableState::Playing) return;  // the host closed the table meanwhile

    uint8_t remaining = 0;
    bool departed = false;
    for (int s = 0; s < 4; ++s) {
        if (seats_[s].departed) departed = true;
        else remaining |= SeatBit(s);
    }
    if (departed) {
        EndTable(1, remaining);
        return;
    }
    uint8_t enough = 0;
    for (int s = 0; s < 4; ++s)
        if (seats_[s].profile().coins >= ReserveCoins(rules_)) enough |= SeatBit(s);
    if (enough != 0x0F) {
        ++ledger_.ended_for_coins;
        EndTable(3, enough);
        return;
    }
    EnterBetween(true);
}

void Table::OnFrame(int seat, const PacketFrame& f) {
    if (seat < 0 || seat > 3 || seats_[seat].kind != Seat::Kind::Human || state_ == TableState::Closed)
        return;
    switch (f[3]) {
        case kActionFrame:
            HandleAction(seat, f);
            return;
        case kReadyOrLeave:
            if (f[15] == 1) MarkReady(seat);
            else if (f[15] == 0) Leave(seat, "leave");
            else log_.Event("ignored", {{"table", id_}, {"seat", seat}, {"what", "type16"}, {"byte15", int(f[15])}});
            return;
        case kChat: {
            if (f[16] == 0) {
                log_.Event("ignored", {{"table", id_}, {"seat", seat}, {"what", "empty_chat"}});
                return;
            }
            const PacketFrame relay = ChatRelayFrame(seat, f);
            Broadcast([&](int) { return relay; });
            log_.Event("chat", {{"table", id_}, {"seat", seat}, {"to", int(f[11])}});
            return;
        }
        default:
            log_.Event("ignored", {{"table", id_}, {"seat", seat}, {"what", "type"}, {"type", int(f[3])}});
    }
}

void Table::Leave(int seat, const char* why) {
    if (seat < 0 || seat > 3 || seats_[seat].kind != Seat::Kind::Human || seats_[seat].departed) return;
    seats_[seat].sink = nullptr;
    Departure(seat, why);
}

void Table::OnLinkLost(int seat) {
    if (seat < 0 || seat > 3 || seats_[seat].kind != Seat::Kind::Human || seats_[seat].departed) return;
    Seat& s = seats_[seat];
    s.sink = nullptr;
    if (state_ == TableState::Playing) {
        s.held = true;
        ++s.human->drops;
        log_.Event("seat_held", {{"table", id_}, {"seat", seat}, {"name", s.human->account},
                                 {"ms", opt_.holdMs}});
        Arm(s.holdTimer, opt_.holdMs, [this, seat] { HoldExpired(seat); });
        return;
    }
    Departure(seat, "link_lost");
}

void Table::HoldExpired(int seat) {
    Seat& s = seats_[seat];
    if (!s.held) return;
    s.held = false;
    s.missed.clear();
    Departure(seat, "hold_expired");
}

void Table::Departure(int seat, const char* why) {
    Seat& s = seats_[seat];
    const std::string name = s.human->account;
    log_.Event("leave", {{"table", id_}, {"seat", seat}, {"name", name}, {"why", why},
                         {"state", TableStateName(state_)}});
    Disarm(s.holdTimer);
    s.held = false;
    s.missed.clear();
    s.sink = nullptr;
    switch (state_) {
        case TableState::Waiting: {
            ledger_.coinsOut += s.human->coins;
            s.kind = Seat::Kind::Empty;
            s.human = nullptr;
            s.ready = false;
            Broadcast([&](int) { return UserQuitFrame(name); });
            bool anyone = false;
            for (const Seat& o : seats_) anyone |= o.kind == Seat::Kind::Human;
            if (!anyone) Close("empty");
            return;
        }
        case TableState::Between:
            s.departed = true;
            EndTable(1, OccupiedMask());
            return;
        case TableState::Playing:
            // Still settled with the hand (a give-up), then the table ends.
            s.departed = true;
            if (hand_ && hand_->Active(seat)) Publish(hand_->ForceGiveUp(seat));
            return;
        case TableState::Closed:
            return;
    }
}

void Table::Reconnect(int seat, FrameSink* sink) {
    Seat& s = seats_[seat];
    Disarm(s.holdTimer);
    s.held = false;
    s.sink = sink;
    log_.Event("reconnect", {{"table", id_}, {"seat", seat}, {"name", s.human->account},
                             {"replayed", int64_t(s.missed.size())}});
    sink->SendFrame(ReconnectReplyFrame(true));
    std::vector<PacketFrame> missed;
    missed.swap(s.missed);
    for (const PacketFrame& f : missed) sink->SendFrame(f);
    if (state_ == TableState::Playing && hand_ && begun_ && !hand_->Over()) {
        const int current = hand_->Current();
        sink->SendFrame(TurnOfferFrame(current, hand_->MaskOf(current), hand_->StakeOf(current)));
    }
    if (state_ == TableState::Between && !startTimer_.id)
        Arm(startTimer_, opt_.nextStartMs, [this] { StartTimerFired(); });
}

void Table::Notice(const QString& text) {
    if (state_ == TableState::Closed) return;
    const PacketFrame f = TableNoticeFrame(text);
    Broadcast([&](int) { return f; });
    if (hand_) {
        ++ledger_.handsAbandoned;
        hand_.reset();
    }
    Close("notice");
}

void Table::EndTable(uint8_t reason, uint8_t remaining) {
    const PacketFrame f = TableEndFrame(reason, remaining);
    Broadcast([&](int) { return f; });
    log_.Event("table_end", {{"table", id_}, {"reason", int(reason)}, {"remaining", int(remaining)}});
    Close(reason == 1 ? "players_left" : "coins");
}

void Table::Close(const char* why) {
    if (state_ == TableState::Closed) return;
    state_ = TableState::Closed;
    DisarmAll();
    hand_.reset();
    for (Seat& s : seats_) {
        if (s.kind == Seat::Kind::Empty) continue;
        ledger_.coinsOut += s.profile().coins;
        FrameSink* sink = s.sink;
        s.sink = nullptr;
        s.held = false;
        s.missed.clear();
        if (s.kind == Seat::Kind::Human && sink && !s.departed) host_.SeatReleased(sink);
    }
    log_.Event("table_closed", {{"table", id_}, {"why", why}, {"hands", ledger_.handsSettled}});
    host_.TableEnded(id_);
}

}  // namespace sorvik::server
