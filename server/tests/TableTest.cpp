// A table on virtual time: seating, readiness, the frames of a hand and their layout, the
// answers to bad actions, the turn limit, chat, and the ways a table ends.

#include <gtest/gtest.h>

#include <set>

#include "Support.h"
#include "game/core/TableState.h"

namespace sorvik::server {
namespace {

using namespace test;

int64_t Signed(const PacketFrame& r) {
    const int64_t final = int64_t(ReadFrameNumber(r, 26, 8));
    return r[25] == 1 ? final : -final;
}

TEST(TableSeating, ProfilesAsTheClientDecodesThem) {
    TableRig rig(2);
    const int a = rig.SeatPerson("alice");
    ASSERT_EQ(a, 0);
    // Alice is described first, then the two bots; everything names her own seat in byte 6.
    const auto& first = rig.Sink(a).frames;
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0][226], SeatBit(a));
    const int b = rig.SeatPerson("bob");
    ASSERT_EQ(b, 1);
    ASSERT_EQ(rig.Sink(a).frames.size(), 4u);  // bob's profile reached alice
    ASSERT_EQ(rig.Sink(b).frames.size(), 4u);
    EXPECT_EQ(rig.Sink(b).frames[0][226], SeatBit(b));

    for (int receiver : {a, b}) {
        std::set<uint8_t> described;
        std::set<QString> accounts;
        for (const PacketFrame& f : rig.Sink(receiver).frames) {
            ASSERT_EQ(f[3], kUserInfo);
            EXPECT_EQ(f[6], SeatBit(receiver));
            described.insert(f[226]);
            SeatProfile p;
            DecodeProfile(p, f);
            const Profile* truth = rig.table->SeatProfile(SeatOfBit(f[226]));
            ASSERT_NE(truth, nullptr);
            EXPECT_EQ(p.NickName, truth->nick);
            EXPECT_EQ(ReadFrameText(f, 168, 16, TextKind::SingleByte).toStdString(), truth->account);
            accounts.insert(ReadFrameText(f, 168, 16, TextKind::SingleByte));
            // m1..m10 or w1..w10, and the sex to match.
            const std::string face = p.FaceId.toStdString();
            ASSERT_GE(face.size(), 2u);
            EXPECT_TRUE(face[0] == 'm' || face[0] == 'w') << face;
            const int n = std::stoi(face.substr(1));
            EXPECT_GE(n, 1);
            EXPECT_LE(n, 10);
            EXPECT_EQ(p.IsMale != 0, face[0] == 'm');
            // The paired fields hold double-byte characters only.
            for (auto [start, width] : {std::pair{72, 8}, {112, 16}, {184, 24}})
                for (int i = start; i < start + width && f[i]; i += 2) {
                    EXPECT_GE(f[i], 0x81) << "byte " << i;
                    EXPECT_GE(f[i + 1], 0x40) << "byte " << i + 1;
                }
            EXPECT_FALSE(p.Location.isEmpty());
            EXPECT_FALSE(p.Title.isEmpty());
            EXPECT_EQ(p.LevelTitle, LevelTitle(LevelForPoints(truth->points)));
            EXPECT_EQ(int64_t(p.Coins), truth->coins);
            EXPECT_EQ(p.Credit, 100);
            EXPECT_EQ(f[208], 0);
        }
        EXPECT_EQ(described, (std::set<uint8_t>{1, 2, 4, 8}));
        EXPECT_EQ(accounts.size(), 4u);
    }
}

TEST(TableStart, ReadyFramesOrTheCountdownStartTheHand) {
    struct Case { bool personReady; int64_t startAt; };
    for (const Case& c : {Case{true, 5000}, Case{false, 15000}}) {
        TableRig rig(1);
        const int a = rig.SeatPerson("alice");
        rig.sched.Advance(4999);
        EXPECT_TRUE(OfType(rig.Sink(a).frames, kReadyNotice).empty());
        rig.sched.Advance(1);  // the bots get ready after their ready delay
        const auto notices = OfType(rig.Sink(a).frames, kReadyNotice);
        ASSERT_EQ(notices.size(), 3u);
        for (const PacketFrame& n : notices) {
            EXPECT_EQ(n[15], 1);
            EXPECT_EQ(ReadFrameText(n, 16, 16, TextKind::SingleByte).left(4), "bot-");
        }
        EXPECT_TRUE(OfType(rig.Sink(a).frames, kGameStart).empty());
        if (c.personReady) {
            rig.Send(a, ReadyFrame(a));  // the last one ready starts the hand at once
            const auto mine = OfType(rig.Sink(a).frames, kReadyNotice);
            ASSERT_EQ(mine.size(), 4u);
            EXPECT_EQ(ReadFrameText(mine.back(), 16, 16, TextKind::SingleByte), "alice");
        } else {
            rig.sched.Advance(c.startAt - 5000 - 1);
            EXPECT_TRUE(OfType(rig.Sink(a).frames, kGameStart).empty());
            rig.sched.Advance(1);
        }
        const auto starts = OfType(rig.Sink(a).frames, kGameStart);
        ASSERT_EQ(starts.size(), 1u) << "start at " << c.startAt;
        const PacketFrame& g = starts[0];
        EXPECT_EQ(Hex(g, 12, 15), "00000064");  // base stake 100, big-endian
        const int first = SeatOfBit(g[11]);
        ASSERT_GE(first, 0);
        // The first turn offer comes after the client's deal.
        rig.sched.Advance(3999);
        EXPECT_TRUE(OfType(rig.Sink(a).frames, kTurnUpdate).empty());
        rig.sched.Advance(1);
        const auto turns = OfType(rig.Sink(a).frames, kTurnUpdate);
        ASSERT_EQ(turns.size(), 1u);
        EXPECT_EQ(turns[0][9], 0);
        EXPECT_EQ(turns[0][12], SeatBit(first));
        EXPECT_EQ(turns[0][11], kGiveUp | kLook | kStake);
        EXPECT_EQ(turns[0][15], 10);
        EXPECT_TRUE(CardBytesEmpty(turns[0], 16, 79));
    }
}

// Alice (seat 0) and Bob (seat 1) with two bots, played up to Alice's first turn.
struct TurnRig : TableRig {
    explicit TurnRig(uint64_t seed = 3) : TableRig(2, seed) {
        SeatPerson("alice");
        SeatPerson("bob");
        Send(0, ReadyFrame(0));
        Send(1, ReadyFrame(1));
        // Bob follows whenever it is his turn, so that the hand reaches Alice.
        Sink(1).onFrame = [this](const PacketFrame& f) {
            if (f[3] == kTurnUpdate && f[12] == SeatBit(1) && bobFollows)
                sched.After(100, [this, stake = f[15]] { Send(1, ActionFrame(1, kStake, stake)); });
        };
        reached = AdvanceUntil(sched, [this] { return TurnOffered(Sink(0).frames, 0); }, 60000);
        offer = *LastOfType(Sink(0).frames, kTurnUpdate);
        bobFollows = false;
    }
    size_t Count(int seat) const { return sinks[seat]->frames.size(); }
    bool bobFollows = true;
    bool reached = false;
    PacketFrame offer{};
};

TEST(TableTurns, LookFrameCarriesCardsToTheLookerOnly) {
    TurnRig rig;
    ASSERT_TRUE(rig.reached);
    const size_t a0 = rig.Count(0), b0 = rig.Count(1);
    rig.Send(0, ActionFrame(0, kLook, 0));
    ASSERT_EQ(rig.Count(0), a0 + 1);
    ASSERT_EQ(rig.Count(1), b0 + 1);
    const PacketFrame& mine = rig.Sink(0).frames.back();
    const PacketFrame& theirs = rig.Sink(1).frames.back();
    const int level = rig.table->CurrentHand()->Level();
    for (const PacketFrame* f : {&mine, &theirs}) {
        EXPECT_EQ((*f)[3], kTurnUpdate);
        EXPECT_EQ((*f)[9], kLook);
        EXPECT_EQ((*f)[6], SeatBit(0));
        EXPECT_EQ((*f)[12], SeatBit(0));  // the turn stays with the looker
        EXPECT_EQ((*f)[11] & kLook, 0);
        EXPECT_EQ((*f)[11] & (kGiveUp | kStake), kGiveUp | kStake);
        EXPECT_EQ((*f)[15], std::min(2 * level, 100));
        EXPECT_EQ((*f)[14], 0);
    }
    const Hand3& cards = rig.table->CurrentHand()->Cards(0);
    for (int d = 0; d < 3; ++d) EXPECT_EQ(ReadFrameNumber(mine, 20 + 4 * d, 4), cards[d].Code());
    EXPECT_TRUE(CardBytesEmpty(theirs, 16, 79));
    EXPECT_TRUE(CardBytesEmpty(mine, 32, 79));
}

TEST(TableTurns, BadActionsAreAnsweredDeterministically) {
    enum Answer { Nothing, Reoffer, Taken };
    struct Case {
        const char* name;
        int from;
        std::function<PacketFrame(const PacketFrame& offer)> frame;
        Answer answer;
        int units;  // byte 14 of the taken action; -1: the offered stake; -2: the cap
        const char* logged;
    };
    const Case cases[] = {
        {"out of turn", 1, [](const PacketFrame&) { return ActionFrame(1, kStake, 10); }, Nothing, 0, "why=not_your_turn"},
        {"over the cap", 0, [](const PacketFrame&) { return ActionFrame(0, kStake, 200); }, Taken, -2, "event=held"},
        {"under the stake", 0, [](const PacketFrame&) { return ActionFrame(0, kStake, 0); }, Taken, -1, "event=held"},
        {"compare not offered", 0, [](const PacketFrame&) { return ActionFrame(0, kCompare, 2); }, Reoffer, 0, "why=compare_not_allowed"},
        {"unknown code", 0, [](const PacketFrame&) { return ActionFrame(0, 3, 0); }, Reoffer, 0, "why=unknown_action"},
        {"wrong seat byte", 0, [](const PacketFrame&) { return ActionFrame(1, kStake, 10); }, Reoffer, 0, "why=seat_byte"},
    };
    for (const Case& c : cases) {
        TurnRig rig;
        ASSERT_TRUE(rig.reached) << c.name;
        ASSERT_EQ(rig.offer[11] & kCompare, 0) << "the seed must reach alice before anyone looked";
        const size_t a0 = rig.Count(0);
        rig.Send(c.from, c.frame(rig.offer));
        EXPECT_TRUE(rig.LogHas(c.logged)) << c.name;
        switch (c.answer) {
            case Nothing:
                EXPECT_EQ(rig.Count(0), a0) << c.name;
                break;
            case Reoffer: {
                ASSERT_EQ(rig.Count(0), a0 + 1) << c.name;
                const PacketFrame& f = rig.Sink(0).frames.back();
                EXPECT_EQ(f[9], 0) << c.name;
                EXPECT_EQ(f[12], SeatBit(0)) << c.name;
                EXPECT_EQ(f[11], rig.offer[11]) << c.name;
                EXPECT_EQ(f[15], rig.offer[15]) << c.name;
                break;
            }
            case Taken: {
                ASSERT_EQ(rig.Count(0), a0 + 1) << c.name;
                const PacketFrame& f = rig.Sink(0).frames.back();
                EXPECT_EQ(f[9], kStake) << c.name;
                EXPECT_EQ(f[6], SeatBit(0)) << c.name;
                EXPECT_EQ(f[14], c.units == -1 ? rig.offer[15] : 50) << c.name;
                EXPECT_NE(f[12], SeatBit(0)) << c.name;
                break;
            }
        }
        // Whatever the answer, the hand goes on: it is settled within the turn limits.
        EXPECT_TRUE(AdvanceUntil(rig.sched, [&] { return OfType(rig.Sink(0).frames, kGameResult).size() == 4; },
                                 600000))
            << c.name;
    }
}

TEST(TableTurns, TurnLimitGivesUpForTheAbsentPlayer) {
    TurnRig rig;
    ASSERT_TRUE(rig.reached);
    const size_t a0 = rig.Count(0);
    const int64_t offeredAt = rig.Sink(0).times.back();
    rig.sched.Advance(offeredAt + 30000 - 1 - rig.sched.NowMs());
    EXPECT_EQ(rig.Count(0), a0);
    rig.sched.Advance(1);
    ASSERT_EQ(rig.Count(0), a0 + 1);
    const PacketFrame& f = rig.Sink(0).frames.back();
    EXPECT_EQ(f[9], kGiveUp);
    EXPECT_EQ(f[6], SeatBit(0));
    EXPECT_NE(f[12], SeatBit(0));
    EXPECT_TRUE(rig.LogHas("event=turn_limit"));
}

TEST(TableHand, SettlementFramesAndAccounts) {
    TableRig rig(1, 11);
    const int a = rig.SeatPerson("alice");
    const int64_t before = rig.table->SeatProfile(a)->coins;
    std::array<int64_t, 4> coinsBefore{};
    for (int s = 0; s < 4; ++s) coinsBefore[s] = rig.table->SeatProfile(s)->coins;
    // Alice gives up at her first turn.
    rig.Sink(a).onFrame = [&](const PacketFrame& f) {
        if (f[3] == kTurnUpdate && f[12] == SeatBit(a))
            rig.sched.After(500, [&] { rig.Send(a, ActionFrame(a, kGiveUp, 0)); });
    };
    rig.Send(a, ReadyFrame(a));
    ASSERT_TRUE(AdvanceUntil(rig.sched, [&] { return OfType(rig.Sink(a).frames, kGameResult).size() == 4; },
                             300000));
    const auto& frames = rig.Sink(a).frames;
    const auto results = OfType(frames, kGameResult);
    // The turn update before the results names nobody.
    const PacketFrame* last = LastOfType(frames, kTurnUpdate);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ((*last)[12], 0);
    EXPECT_EQ((*last)[11], 0);
    EXPECT_EQ(frames.size() - 4, size_t(last - frames.data()) + 1);  // results come right after it

    const int winner = SeatOfBit(results[0][35]);
    ASSERT_GE(winner, 0);
    EXPECT_NE(winner, a);
    const int64_t tax = CheckResultRows(results, winner);
    for (int s = 0; s < 4; ++s) {
        const PacketFrame& r = results[s];
        if (s != winner) {
            const int64_t gross = int64_t(ReadFrameNumber(r, 17, 8));
            EXPECT_EQ(gross % 100, 0);
            EXPECT_GE(gross, 1000);  // at least the ante
        }
        const Profile* p = rig.table->SeatProfile(s);
        EXPECT_EQ(p->coins, coinsBefore[s] + Signed(r));
        EXPECT_EQ(r[91], LevelForPoints(p->points));
    }
    EXPECT_EQ(rig.table->SeatProfile(a)->coins, before - 1000);  // gave up with the ante in
    EXPECT_EQ(rig.table->Accounts().tax, tax);
    EXPECT_EQ(rig.host.settled, 1);
}

TEST(TableChat, RelayedToEveryPersonWithTheSenderSeat) {
    TableRig rig(2);
    const int a = rig.SeatPerson("alice");
    const int b = rig.SeatPerson("bob");
    rig.Send(b, ChatFrame(b, SeatBit(a), "bob\xcb\xb5\xb5\xc0: hi"));
    for (int s : {a, b}) {
        const PacketFrame* c = LastOfType(rig.Sink(s).frames, kChat);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ((*c)[6], SeatBit(b));
        EXPECT_EQ((*c)[11], SeatBit(a));
        EXPECT_EQ((*c)[9], 0);
        EXPECT_EQ(ReadFrameText(*c, 16, 200, TextKind::Mixed), QString::fromUtf8("bob说道: hi"));
        EXPECT_EQ((*c)[16 + 11], 0);
    }
    const size_t before = rig.Sink(a).frames.size();
    rig.Send(b, ChatFrame(b, 0, ""));
    EXPECT_EQ(rig.Sink(a).frames.size(), before);
}

TEST(TableEnds, WaysATableEnds) {
    enum How { LeaveBetween, LinkBetween, LeaveDuringHand, CoinShortage, LinkExpiresDuringHand };
    struct Case { const char* name; How how; uint8_t reason; };
    const Case cases[] = {
        {"leave frame between hands", LeaveBetween, 1},
        {"link closed between hands", LinkBetween, 1},
        {"leave frame during a hand", LeaveDuringHand, 1},
        {"hold runs out during a hand", LinkExpiresDuringHand, 1},
        {"not enough coins for the next hand", CoinShortage, 3},
    };
    for (const Case& c : cases) {
        TableRig rig(2, 5);
        const int64_t reserve = ReserveCoins(rig.rules);
        const int a = rig.SeatPerson("alice", c.how == CoinShortage ? reserve : 500000);
        const int b = rig.SeatPerson("bob");
        for (int s : {a, b}) {
            rig.Sink(s).onFrame = [&rig, s](const PacketFrame& f) {
                if (f[3] == kTurnUpdate && f[12] == SeatBit(s))
                    rig.sched.After(300, [&rig, s] { rig.Send(s, ActionFrame(s, kGiveUp, 0)); });
            };
            rig.Send(s, ReadyFrame(s));
        }
        auto settled = [&] { return OfType(rig.Sink(b).frames, kGameResult).size() == 4; };
        if (c.how == LeaveDuringHand || c.how == LinkExpiresDuringHand) {
            ASSERT_TRUE(AdvanceUntil(rig.sched, [&] { return rig.table->HandBegun(); }, 60000)) << c.name;
            rig.Sink(a).onFrame = nullptr;
            const size_t seen = rig.Sink(a).frames.size();
            if (c.how == LeaveDuringHand) {
                rig.table->Leave(a, "leave");
                EXPECT_EQ(rig.Sink(a).frames.size(), seen) << c.name;
            } else {
                rig.table->OnLinkLost(a);
                rig.sched.Advance(70000);
            }
            // Bob sees Alice give up (unless she already had).
            ASSERT_TRUE(AdvanceUntil(rig.sched, settled, 300000)) << c.name;
        } else {
            ASSERT_TRUE(AdvanceUntil(rig.sched, settled, 300000)) << c.name;
            if (c.how == LeaveBetween) rig.table->Leave(a, "leave");
            if (c.how == LinkBetween) rig.table->OnLinkLost(a);
        }
        const PacketFrame* end = LastOfType(rig.Sink(b).frames, kReadyOrLeave);
        ASSERT_NE(end, nullptr) << c.name;
        EXPECT_EQ((*end)[15], c.reason) << c.name;
        EXPECT_EQ((*end)[6], 0x0F & ~SeatBit(a)) << c.name;
        EXPECT_EQ(rig.table->State(), TableState::Closed) << c.name;
        EXPECT_EQ(rig.host.ended, std::vector<int>{1}) << c.name;
        // Bob's connection no longer has a seat; Alice's was let go when she left.
        const std::vector<FrameSink*> released =
            c.how == CoinShortage ? std::vector<FrameSink*>{&rig.Sink(a), &rig.Sink(b)}
                                  : std::vector<FrameSink*>{&rig.Sink(b)};
        EXPECT_EQ(rig.host.released, released) << c.name;
        const bool aliceTold = LastOfType(rig.Sink(a).frames, kReadyOrLeave) != nullptr;
        EXPECT_EQ(aliceTold, c.how == CoinShortage) << c.name;
    }
}

TEST(TableEnds, LeavingATableNotYetFullTellsTheOthers) {
    TableRig rig(3);
    const int a = rig.SeatPerson("alice");
    const int b = rig.SeatPerson("bob");
    rig.table->Leave(a, "leave");
    const auto quits = OfType(rig.Sink(b).frames, kUserQuit);
    ASSERT_EQ(quits.size(), 1u);
    EXPECT_EQ(ReadFrameText(quits[0], 16, 16, TextKind::SingleByte), "alice");
    EXPECT_EQ(rig.table->State(), TableState::Waiting);
    EXPECT_TRUE(rig.table->Joinable());
    // A new person takes the free seat and is described to Bob.
    const int c = rig.SeatPerson("carol");
    EXPECT_EQ(c, a);
    const PacketFrame* info = LastOfType(rig.Sink(b).frames, kUserInfo);
    EXPECT_EQ(ReadFrameText(*info, 168, 16, TextKind::SingleByte), "carol");
    for (const PacketFrame& q : OfType(rig.Sink(b).frames, kUserQuit))
        EXPECT_NE(ReadFrameText(q, 16, 16, TextKind::SingleByte), "bob");
}

TEST(TableEnds, OperatorNoticeClosesTheTable) {
    TableRig rig(2);
    const int a = rig.SeatPerson("alice");
    const int b = rig.SeatPerson("bob");
    rig.table->Notice(QString::fromUtf8("服务器维护，请稍后再来"));
    for (int s : {a, b}) {
        const PacketFrame* n = LastOfType(rig.Sink(s).frames, kTableNotice);
        ASSERT_NE(n, nullptr);
        EXPECT_EQ(ReadFrameText(*n, 16, 200, TextKind::Mixed), QString::fromUtf8("服务器维护，请稍后再来"));
    }
    EXPECT_EQ(rig.table->State(), TableState::Closed);
    EXPECT_EQ(rig.host.released.size(), 2u);
}

}  // namespace
}  // namespace sorvik::server
