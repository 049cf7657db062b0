#pragma once
// One table of four seats: humans and bots, readiness, the hand, the frames for every
// recipient, held seats and their replay, and the ways a table ends.

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Bot.h"
#include "Frames.h"
#include "Hand.h"
#include "Log.h"
#include "Profile.h"
#include "Rng.h"
#include "Rules.h"
#include "Scheduler.h"

namespace sorvik::server {

// Where a seated human's frames go (a connection, or a test's recorder).
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual void SendFrame(const PacketFrame& frame) = 0;
};

class TableHost {
public:
    virtual ~TableHost() = default;
    // The table has ended and no longer holds this connection's seat.
    virtual void SeatReleased(FrameSink* sink) = 0;
    // The table has ended; the host removes it after the current call has returned.
    virtual void TableEnded(int tableId) = 0;
    virtual void HandSettled(int tableId) = 0;
};

struct TableOptions {
    int humanSeats = 1;          // seats 0..humanSeats-1 are for people, the rest bots
    int64_t thinkMs = 1200;      // a bot's think time per action
    int64_t readyMs = 5000;      // a bot gets ready this long after a settlement
    int64_t turnMs = 30000;      // the server gives up for a player after this
    int64_t dealMs = 4000;       // the client's deal before the first turn
    int64_t firstStartMs = 15000;  // the first hand starts this long after the table filled
    int64_t nextStartMs = 30000;   // and a later hand this long after a settlement
    int64_t holdMs = 70000;      // a seat whose link dropped during a hand is kept this long
    int64_t botCoins = 500000;
    bool verbose = true;         // a log line per turn
};

enum class TableState { Waiting, Between, Playing, Closed };

class Table {
public:
    Table(int id, const Rules& rules, const TableOptions& options, Scheduler& scheduler,
          Logger& log, TableHost& host, uint64_t seed);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Seats the bots; a table without human seats starts playing.
    void Open();

    int Id() const { return id_; }
    TableState State() const { return state_; }
    bool Joinable() const;
    // Seats a person; frames start at once (its own profile first). Returns the seat.
    int SeatHuman(Profile& account, FrameSink* sink, uint16_t tag);
    // An inbound action (7), ready or leave (16) or chat (19) from a seated person.
    void OnFrame(int seat, const PacketFrame& frame);
    // The person's link closed: the seat is held during a hand, given up otherwise.
    void OnLinkLost(int seat);
    // The person leaves (leave frame, or the operator's kick).
    void Leave(int seat, const char* why);
    // A held seat of this account with this session tag, or -1.
    int HeldSeat(const std::string& account, uint16_t tag) const;
    bool HasAccount(const std::string& account) const;
    int SeatOf(const std::string& account) const;
    // The reconnect reply, the frames missed since the link dropped, and the turn offer.
    void Reconnect(int seat, FrameSink* sink);
    // The operator's notice: shown to every person, and the table ends.
    void Notice(const QString& text);

    const Profile* SeatProfile(int seat) const;
    bool Ready(int seat) const { return seats_[seat].ready; }
    bool Held(int seat) const { return seats_[seat].held; }
    const Hand* CurrentHand() const { return hand_ ? &*hand_ : nullptr; }
    bool HandBegun() const { return begun_; }

    struct Ledger {
        int64_t handsStarted = 0, handsSettled = 0, handsAbandoned = 0;
        int64_t coinsIn = 0;   // coins of every player when seated
        int64_t coinsOut = 0;  // coins of every player when gone
        int64_t tax = 0;
        int64_t ended_for_coins = 0;
        Ledger& operator+=(const Ledger& o) {
            handsStarted += o.handsStarted;
            handsSettled += o.handsSettled;
            handsAbandoned += o.handsAbandoned;
            coinsIn += o.coinsIn;
            coinsOut += o.coinsOut;
            tax += o.tax;
            ended_for_coins += o.ended_for_coins;
            return *this;
        }
    };
    const Ledger& Accounts() const { return ledger_; }
    int64_t CoinsSeated() const;  // coins of the players still seated

private:
    struct TimerSlot {
        Scheduler::Id id = 0;
    };
    struct Seat {
        enum class Kind { Empty, Human, Bot } kind = Kind::Empty;
        Profile* human = nullptr;
        Profile bot;
        FrameSink* sink = nullptr;
        uint16_t tag = 0;
        bool ready = false;
        bool held = false;
        bool departed = false;
        std::vector<PacketFrame> missed;
        TimerSlot botTimer, holdTimer;
        Rng rng;
        Profile& profile() { return kind == Kind::Bot ? bot : *human; }
        const Profile& profile() const { return kind == Kind::Bot ? bot : *human; }
    };

    void Arm(TimerSlot& slot, int64_t ms, std::function<void()> task);
    void Disarm(TimerSlot& slot);
    void DisarmAll();

    void Deliver(int seat, const PacketFrame& frame);
    void Broadcast(const std::function<PacketFrame(int)>& build);
    bool Full() const;
    bool AllReady() const;
    bool AnyHeld() const;
    uint8_t OccupiedMask() const;

    void EnterBetween(bool afterHand);
    void StartTimerFired();
    void MarkReady(int seat);
    void StartHand();
    void BeginTurns();
    void Publish(const TurnEvent& ev);
    void OfferTurn(int seat);
    void TurnTimedOut(int seat);
    void BotAct(int seat);
    void HandleAction(int seat, const PacketFrame& frame);
    void Reoffer(int seat);
    void FinishHand();
    void Departure(int seat, const char* why);
    void HoldExpired(int seat);
    void EndTable(uint8_t reason, uint8_t remaining);
    void Close(const char* why);
    void LogTurn(const TurnEvent& ev);

    int id_;
    Rules rules_;
    TableOptions opt_;
    Scheduler& sched_;
    Logger& log_;
    TableHost& host_;
    Rng rng_;
    TableState state_ = TableState::Waiting;
    std::array<Seat, 4> seats_;
    std::optional<Hand> hand_;
    bool begun_ = false;
    int first_ = -1;
    int64_t handNumber_ = 0;
    TimerSlot startTimer_, dealTimer_, turnTimer_;
    Ledger ledger_;
};

const char* TableStateName(TableState s);

}  // namespace sorvik::server
