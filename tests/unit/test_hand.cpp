#include <gtest/gtest.h>

#include "ClientHarness.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

// Local seat 1 at position 0; seats 2, 4, 8 at positions 1, 2, 3; a hand running.
struct InHand : ClientHarness {
    InHand() {
        EXPECT_TRUE(Start());
        LogIn();
        const uint8_t seats[4] = {1, 2, 4, 8};
        for (int i = 0; i < 4; ++i) {
            Player p{seats[i], QStringLiteral("a%1").arg(i), QStringLiteral("N%1").arg(i)};
            p.coins = 100000;
            client->DispatchFrame(UserInfoFrame(1, p));
        }
        PacketFrame start = ServerFrame(kGameStart);
        start[15] = 10;  // base stake 10, big-endian
        EXPECT_TRUE(Call([&] { client->DispatchFrame(start); }));
        socket.raw.clear();
        sound.played.clear();
    }
    bool Dispatch(const PacketFrame& f) { return Call([&] { client->DispatchFrame(f); }); }
    std::vector<PacketFrame> Actions() { return socket.FramesOfType(kActionFrame); }
    // Runs the pump until queued frames are out.
    void Flush() { loop.RunFor(0.3); }
    bool Offered(int k) { return client->state().ActionEnabled[k] && client->form().Operation[k]->isEnabled(); }
    MainForm& f() { return client->form(); }
    TableState& s() { return client->state(); }
};

}  // namespace

TEST(GameStart, DealsTwelveCardsThenTheAntes) {
    InHand h;
    const auto& c = h.f().cardImage;
    // Position 0 ends at top 552 with the fan 460, 480, 500; position 3 at 860, 880, 900.
    EXPECT_DOUBLE_EQ(c[0][0]->Top(), 552);
    EXPECT_DOUBLE_EQ(c[0][0]->Left(), 460);
    EXPECT_DOUBLE_EQ(c[0][2]->Left(), 500);
    EXPECT_DOUBLE_EQ(c[2][1]->Top(), 112);
    EXPECT_DOUBLE_EQ(c[3][0]->Left(), 860);
    EXPECT_DOUBLE_EQ(c[3][2]->Left(), 900);
    EXPECT_DOUBLE_EQ(c[1][0]->Left(), 40);
    EXPECT_TRUE(c[1][2]->isVisibleTo(h.f().Pic1));
    EXPECT_EQ(h.s().DealStep, 13);
    EXPECT_EQ(h.client->ChipCount(), 4);  // one 10 chip per position
    EXPECT_EQ(h.f().StakeLabel[2]->Caption(), "10");
    EXPECT_EQ(h.s().MyStakeUnits, 10);
    EXPECT_EQ(h.s().BaseStake, 10);
    EXPECT_TRUE(h.s().GameRunning);
    EXPECT_FALSE(h.client->KeepAliveRunning());
    EXPECT_EQ(h.lobby.Codes().back(), kLobbyHandStarted);
}

TEST(GameStart, DealSoundsElevenTimes) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.LogIn();
    h.client->DispatchFrame(UserInfoFrame(1, {1, "me", "Me"}));
    h.sound.played.clear();
    h.client->DispatchFrame(ServerFrame(kGameStart));
    EXPECT_EQ(h.sound.Names().count("deliver_card.wav"), 11);
    EXPECT_EQ(h.sound.Names().count("coin_move.wav"), 4);
}

TEST(Chips, BreakIntoChips) {
    const struct {
        int amount;
        std::vector<int> chips;
    } cases[] = {{85, {50, 20, 10, 5}}, {0, {100}}, {3, {100}}, {10, {10}},
                 {1000, std::vector<int>(10, 100)},
                 {1085, {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 50}}};
    for (const auto& c : cases) EXPECT_EQ(BreakIntoChips(c.amount), c.chips) << c.amount;
}

TEST(TurnOffer, ButtonsFollowTheMaskAndTheCap) {
    const struct {
        int stake;
        bool looked;
        std::vector<int> offered, notOffered;
    } cases[] = {
        {40, false, {0, 1, 2, 4, 7, 8}, {5, 6}},
        {50, false, {2}, {4, 5, 6, 7, 8}},
        {10, true, {2, 4, 5, 6, 7, 8}, {}},
    };
    for (const auto& c : cases) {
        InHand h;
        if (c.looked) h.s().StakeFactor = 2;
        ASSERT_TRUE(h.Dispatch(TurnFrame(2, 0, 1, 0x07, static_cast<uint8_t>(c.stake))));
        EXPECT_TRUE(h.s().MyTurn);
        for (int k : c.offered) EXPECT_TRUE(h.Offered(k)) << c.stake << " button " << k;
        for (int k : c.notOffered) EXPECT_FALSE(h.Offered(k)) << c.stake << " button " << k;
        EXPECT_FALSE(h.Offered(3));  // compare not in the mask
        EXPECT_DOUBLE_EQ(h.f().Time_Img->Left(), 490);
    }
}

TEST(TurnOffer, RaiseStepsUpToTheCapThenFollow) {
    InHand h;
    h.s().StakeFactor = 2;
    ASSERT_TRUE(h.Dispatch(TurnFrame(2, 0, 1, 0x04, 10)));
    h.client->OnActionClick(5);  // +50: T = 60
    EXPECT_EQ(h.f().StakeLabel[0]->Caption(), "60");
    EXPECT_FALSE(h.Offered(5));
    EXPECT_TRUE(h.Offered(6));
    EXPECT_EQ(h.f().Operation[2]->PictureId(), h.client->pictureTables().ActionButtonPictures[30]);
    h.client->OnActionClick(6);  // +20: T = 80, +20 stays
    EXPECT_EQ(h.f().StakeLabel[0]->Caption(), "80");
    EXPECT_TRUE(h.Offered(6));
    h.client->OnActionClick(6);  // T = 100
    EXPECT_EQ(h.f().StakeLabel[0]->Caption(), "100");
    EXPECT_FALSE(h.Offered(6));
    EXPECT_FALSE(h.Offered(7));
    EXPECT_TRUE(h.Offered(2));
    h.client->OnActionClick(2);
    h.Flush();
    ASSERT_EQ(h.Actions().size(), 1u);
    EXPECT_EQ(h.Actions()[0][9], 4);
    EXPECT_EQ(h.Actions()[0][15], 100);
    EXPECT_EQ(h.Actions()[0][6], 1);
    EXPECT_EQ(h.s().MyStakeUnits, 110);
    EXPECT_FALSE(h.s().MyTurn);
    EXPECT_FALSE(h.client->transport().Slots.TurnClock.Armed);  // follow stops the clock
    for (int k = 0; k < 9; ++k) EXPECT_FALSE(h.Offered(k));
}

TEST(TurnOffer, MinimumAndMaximumIgnoreTheRaise) {
    InHand h;
    ASSERT_TRUE(h.Dispatch(TurnFrame(2, 0, 1, 0x04, 20)));
    h.client->OnActionClick(7);
    h.client->OnActionClick(8);  // minimum: the stake, not the raise
    h.Flush();
    ASSERT_EQ(h.Actions().size(), 1u);
    EXPECT_EQ(h.Actions()[0][15], 20);
    InHand m;
    ASSERT_TRUE(m.Dispatch(TurnFrame(2, 0, 1, 0x04, 20)));
    m.client->OnActionClick(4);
    m.Flush();
    EXPECT_EQ(m.Actions()[0][15], 50);
}

TEST(TurnOffer, LookAndGiveUp) {
    InHand h;
    ASSERT_TRUE(h.Dispatch(TurnFrame(2, 0, 1, 0x03, 10)));
    h.client->OnActionClick(1);
    h.Flush();
    ASSERT_EQ(h.Actions().size(), 1u);
    EXPECT_EQ(h.Actions()[0][9], 2);
    EXPECT_EQ(h.s().StakeFactor, 2);
    // The server answers the look with the local cards, and the turn stays.
    PacketFrame look = TurnFrame(1, 2, 1, 0x05, 20);
    PutCard(look, 20, 5, 1);
    PutCard(look, 24, 14, 4);
    PutCard(look, 28, 2, 8);
    ASSERT_TRUE(h.Dispatch(look));
    const auto& me = h.s().Seats[0].Cards;
    EXPECT_EQ(CardRank(me[0].Code), 14);
    EXPECT_EQ(CardRank(me[1].Code), 5);
    EXPECT_EQ(CardRank(me[2].Code), 2);
    EXPECT_EQ(h.f().cardImage[0][0]->PictureId(), 14 + 32);
    EXPECT_EQ(h.f().cardImage[0][2]->PictureId(), 15 + 48);
    EXPECT_TRUE(h.s().HasLooked[0]);
    EXPECT_TRUE(h.s().MyTurn);
    h.client->OnActionClick(0);
    h.Flush();
    EXPECT_EQ(h.Actions().back()[9], 1);
    EXPECT_EQ(h.s().ActiveCount, 3);
    EXPECT_EQ(h.f().cardImage[0][1]->PictureId(), kCardBackPicture);
    EXPECT_DOUBLE_EQ(h.f().cardImage[0][1]->Left(), h.f().cardImage[0][0]->Left() + 2);
}

TEST(TurnUpdate, OtherPlayersActions) {
    InHand h;
    // Remote2 gives up: bubble, collapse, one player fewer, the sound.
    ASSERT_TRUE(h.Dispatch(TurnFrame(4, 1, 8, 0, 10)));
    EXPECT_EQ(h.s().ActiveCount, 3);
    EXPECT_TRUE(h.f().Speak[2]->isVisibleTo(h.f().Pic1));
    EXPECT_EQ(h.f().Speak[2]->PictureId(), h.client->pictureTables().GiveUpBubblePictures[1]);
    EXPECT_DOUBLE_EQ(h.f().cardImage[2][2]->Left(), h.f().cardImage[2][0]->Left() + 4);
    EXPECT_EQ(h.sound.Names(), QStringList{"giveup.wav"});
    EXPECT_DOUBLE_EQ(h.f().Time_Img->Left(), 863);  // the clock moves to the next player
    EXPECT_FALSE(h.s().MyTurn);
    // Remote1 looks: its cards spread by 30.
    ASSERT_TRUE(h.Dispatch(TurnFrame(2, 2, 2, 0, 10)));
    EXPECT_TRUE(h.s().LookedInHand[1]);
    EXPECT_TRUE(h.s().HasLooked[1]);
    EXPECT_DOUBLE_EQ(h.f().cardImage[1][2]->Left(), h.f().cardImage[1][0]->Left() + 60);
    // Remote3 stakes 20: its label, its chips.
    const int chips = h.client->ChipCount();
    ASSERT_TRUE(h.Dispatch(TurnFrame(8, 4, 2, 0, 20, 20)));
    EXPECT_EQ(h.f().StakeLabel[3]->Caption(), "30");
    EXPECT_EQ(h.client->ChipCount(), chips + 1);
    // A give-up echoed for the local player lowers nothing.
    ASSERT_TRUE(h.Dispatch(TurnFrame(1, 1, 2, 0, 20)));
    EXPECT_EQ(h.s().ActiveCount, 3);
    // Action code 3 only moves the clock.
    ASSERT_TRUE(h.Dispatch(TurnFrame(2, 3, 4, 0, 20)));
    EXPECT_DOUBLE_EQ(h.f().Time_Img->Left(), 346);
    EXPECT_EQ(h.s().ActiveCount, 3);
}

TEST(TurnUpdate, CoinWarnings) {
    const struct {
        double coins;
        const char* text;
    } cases[] = {{45000, "您的金币快用完了！请谨慎下注！"}, {31000, "您现有的金币已无法再继续游戏！"},
                 {60000, nullptr}, {0, nullptr}};
    for (const auto& c : cases) {
        InHand h;
        h.s().BaseStake = 100;
        h.f().StakeLabel[0]->SetCaption("250");
        h.f().Cash[0]->SetCaption(PlainAmount(c.coins) + QString::fromUtf8("金币"));
        ASSERT_TRUE(h.Dispatch(TurnFrame(2, 0, 4, 0, 10)));
        QWidget& notice = h.client->frm_kaipai();
        EXPECT_EQ(notice.isVisible(), c.text != nullptr) << c.coins;
        if (c.text) {
            auto* label = notice.findChild<QLabel*>();
            EXPECT_EQ(label->text(), QString::fromUtf8(c.text));
        }
    }
}

TEST(TurnUpdate, FullPotOpensTheHandsItNames) {
    InHand h;
    PacketFrame f = TurnFrame(8, 4, 0, 0, 0, 10);
    f[16] = 1;  // local
    PutCard(f, 20, 9, 1);
    PutCard(f, 24, 13, 2);
    PutCard(f, 28, 3, 4);
    f[32] = 2;  // Remote1
    PutCard(f, 36, 14, 8);
    PutCard(f, 40, 14, 4);
    PutCard(f, 44, 14, 1);
    ASSERT_TRUE(h.Dispatch(f));
    EXPECT_EQ(CardRank(h.s().Seats[0].Cards[0].Code), 13);
    EXPECT_EQ(h.f().cardImage[1][0]->PictureId(), 14 + 48);
    EXPECT_EQ(h.f().cardImage[2][0]->PictureId(), h.client->pictureTables().CardPictures[18]);  // not opened
    EXPECT_TRUE(h.client->frm_kaipai().isVisible());
    // Asking to leave takes the notice away before the exit window shows.
    h.client->OnToolbarClick(8);
    EXPECT_FALSE(h.client->frm_kaipai().isVisible());
    EXPECT_TRUE(h.client->frmExit().isVisible());
}

TEST(TurnUpdate, CompareResults) {
    InHand h;
    // The local player loses to Remote1 with four in the hand.
    PacketFrame f = TurnFrame(1, 8, 2, 0, 10, 10);
    f[16] = 2;
    f[32] = 1;
    ASSERT_TRUE(h.Dispatch(f));
    EXPECT_EQ(h.sound.Names().back(), "vs_lost.wav");
    EXPECT_TRUE(h.sound.Names().contains("vs.wav"));
    EXPECT_EQ(h.s().ActiveCount, 3);
    EXPECT_EQ(h.f().cardImage[0][2]->PictureId(), kCardBackPicture);
    EXPECT_DOUBLE_EQ(h.f().cardImage[0][0]->Top(), 552);  // back home after the face-off
    EXPECT_EQ(h.f().cardImage[0][0]->size(), QSize(90, 120));
    EXPECT_FALSE(h.f().VsImg->isVisibleTo(h.f().Pic1));
    // The last comparison: no sound, both hands shown.
    InHand last;
    last.s().ActiveCount = 2;
    PacketFrame g = TurnFrame(2, 8, 0, 0, 0, 20);
    g[16] = 2;
    PutCard(g, 20, 12, 1);
    PutCard(g, 24, 12, 2);
    PutCard(g, 28, 12, 4);
    g[32] = 8;
    PutCard(g, 36, 2, 8);
    PutCard(g, 40, 7, 8);
    PutCard(g, 44, 9, 8);
    last.sound.played.clear();
    ASSERT_TRUE(last.Dispatch(g));
    EXPECT_EQ(last.s().ActiveCount, 1);
    for (const char* result : {"vs_win.wav", "vs_lost.wav", "giveup.wav"})
        EXPECT_FALSE(last.sound.Names().contains(result)) << result;
    EXPECT_EQ(last.f().cardImage[3][0]->PictureId(), 9 + 48);
    EXPECT_EQ(last.f().cardImage[1][0]->PictureId(), 12 + 0);
}

TEST(FaceOff, LocalAgainstLeft) {
    InHand h;
    std::array<int16_t, 24> cards{};
    cards[5] = 2;
    cards[4] = 2;
    std::vector<std::pair<double, double>> seen;
    bool checked = false;
    // Two seconds into the face-off both hands are in place.
    h.loop.SingleShot(600, [&] {
        for (auto* c : h.f().cardImage[0]) seen.emplace_back(c->Left(), c->Top());
        for (auto* c : h.f().cardImage[1]) seen.emplace_back(c->Left(), c->Top());
        checked = h.f().cardImage[0][0]->size() == QSize(80, 108);
    });
    ASSERT_TRUE(h.Call([&] { h.client->ShowCompare(1, 0, cards); }));
    EXPECT_EQ(cards[5], 15);
    EXPECT_EQ(cards[4], 2);
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_TRUE(checked);
    EXPECT_DOUBLE_EQ(seen[0].second, 312);
    EXPECT_NEAR(seen[0].first, 576, 20);
    EXPECT_NEAR(seen[2].first, 636, 20);
    EXPECT_DOUBLE_EQ(seen[3].first, 340);
    EXPECT_DOUBLE_EQ(seen[5].first, 380);
    EXPECT_DOUBLE_EQ(h.f().cardImage[1][0]->Left(), 40);
    EXPECT_GE(h.f().cardImage[0][0]->Top(), 536);
    EXPECT_EQ(h.f().cardImage[0][0]->size(), QSize(90, 120));
}

TEST(CompareChoice, AtOnceOrByMarker) {
    {  // three in the hand, one opponent looked: at once against it
        InHand h;
        h.s().ActiveCount = 3;
        h.s().LookedInHand[2] = h.s().HasLooked[2] = true;
        ASSERT_TRUE(h.Dispatch(TurnFrame(2, 0, 1, 0x0C, 10)));
        h.client->OnActionClick(3);
        h.Flush();
        ASSERT_EQ(h.Actions().size(), 1u);
        EXPECT_EQ(h.Actions()[0][9], 8);
        EXPECT_EQ(h.Actions()[0][15], 4);
        EXPECT_EQ(h.s().MyStakeUnits, 20);  // charged the stake
    }
    {  // four, two looked: markers blink, the right-hand one picks position 3
        InHand h;
        for (int p : {1, 3}) h.s().LookedInHand[p] = h.s().HasLooked[p] = true;
        ASSERT_TRUE(h.Dispatch(TurnFrame(2, 0, 1, 0x0C, 10)));
        h.client->OnActionClick(3);
        EXPECT_TRUE(h.f().bipai[0]->isVisibleTo(h.f().Pic1));
        EXPECT_FALSE(h.f().bipai[1]->isVisibleTo(h.f().Pic1));
        EXPECT_TRUE(h.s().MyTurn);
        const auto& pics = h.client->pictureTables().CompareButtonPictures;
        h.loop.RunFor(0.5);
        EXPECT_EQ(h.f().bipai[2]->PictureId(), pics[1]);
        h.loop.RunFor(0.5);
        EXPECT_EQ(h.f().bipai[2]->PictureId(), pics[0]);
        h.client->OnCompareTargetClick(2);
        h.Flush();
        ASSERT_EQ(h.Actions().size(), 1u);
        EXPECT_EQ(h.Actions()[0][15], 8);
        EXPECT_FALSE(h.f().bipai[2]->isVisibleTo(h.f().Pic1));
    }
    {  // nobody looked: pending, nothing sent; the timeout finds no target
        InHand h;
        ASSERT_TRUE(h.Dispatch(TurnFrame(2, 0, 1, 0x0C, 10)));
        h.client->OnActionClick(3);
        EXPECT_TRUE(h.s().ComparePending);
        ASSERT_TRUE(h.Run(17));
        EXPECT_TRUE(h.Actions().empty());
    }
    {  // two left, nobody looked: at once with the local seat's own bit
        InHand h;
        h.s().ActiveCount = 2;
        ASSERT_TRUE(h.Dispatch(TurnFrame(2, 0, 1, 0x0C, 10)));
        EXPECT_EQ(h.f().Operation[3]->PictureId(), h.client->pictureTables().ActionButtonPictures[27]);
        h.client->OnActionClick(3);
        h.Flush();
        ASSERT_EQ(h.Actions().size(), 1u);
        EXPECT_EQ(h.Actions()[0][15], 1);
        EXPECT_EQ(h.s().MyStakeUnits, 30);  // twice the stake
    }
}

TEST(CompareChoice, TimeoutComparesInsteadOfGivingUp) {
    InHand h;
    for (int p : {1, 2}) h.s().LookedInHand[p] = h.s().HasLooked[p] = true;
    ASSERT_TRUE(h.Dispatch(TurnFrame(2, 0, 1, 0x0D, 10)));
    h.client->OnActionClick(3);
    ASSERT_TRUE(h.Run(17));
    ASSERT_EQ(h.Actions().size(), 1u);
    EXPECT_EQ(h.Actions()[0][9], 8);
    EXPECT_EQ(h.Actions()[0][15], 2);  // the first looked opponent, Remote1
}

TEST(Hand, ResultsCollectThePotAndTheCountdownReadiesTheNextHand) {
    InHand h;
    ASSERT_TRUE(h.Dispatch(TurnFrame(2, 0, 1, 0x04, 10)));
    h.client->OnActionClick(2);
    PacketFrame last = TurnFrame(1, 4, 0, 0, 0, 10);
    ASSERT_TRUE(h.Dispatch(last));
    PacketFrame first = ResultFrame(1, true, 40, 38, 2);
    first[35] = 1;  // the winner: the local seat
    ASSERT_TRUE(h.Dispatch(first));
    // The pile flies to the winner at the bottom.
    for (int k = 1; k <= h.client->ChipCount(); ++k) EXPECT_GE(h.client->ImgCoin(k)->Top(), 478) << k;
    for (uint8_t seat : {2, 4, 8}) ASSERT_TRUE(h.Dispatch(ResultFrame(seat, false, 10, 10, 2)));
    EXPECT_FALSE(h.s().GameRunning);
    EXPECT_EQ(h.sound.Names().back(), "victory.wav");
    h.socket.raw.clear();
    ASSERT_TRUE(h.Run(16.2));
    const auto ready = h.socket.FramesOfType(kReadyOrLeave);
    ASSERT_EQ(ready.size(), 1u);
    EXPECT_EQ(ready[0][15], 1);
    EXPECT_EQ(h.client->ChipCount(), 0);  // the table was reset for the next hand
}

TEST(Hand, ContinueSendsTheReadyFrameOnce) {
    InHand h;
    for (uint8_t seat : {1, 2, 4, 8}) ASSERT_TRUE(h.Dispatch(ResultFrame(seat, seat == 1, 10, 10, 2)));
    h.client->OnToolbarClick(2);
    h.client->OnToolbarClick(2);
    ASSERT_TRUE(h.Run(20));
    const auto ready = h.socket.FramesOfType(kReadyOrLeave);
    ASSERT_EQ(ready.size(), 1u);
    EXPECT_EQ(ready[0][15], 1);
    EXPECT_FALSE(h.client->transport().Slots.StartClock.Armed);
}
