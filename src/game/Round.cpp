// A hand as the server reports it: the game start, one turn update per action, and the
// hand-over of the local player's turn.

#include <QLabel>

#include "results/ResultWindows.h"
#include "session/TableClient.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"

namespace sorvik {

int TableClient::StakeNumber(int p) const {
    // A caption that is not a number counts as 0.
    bool ok = false;
    const int v = form_->StakeLabel[p]->Caption().toInt(&ok);
    return ok ? v : 0;
}

void TableClient::AddToStake(int p, int units) {
    const int sum = StakeNumber(p) + units;
    if (sum > 32767 || sum < -32768) throw DispatchFault("stake label out of range");
    TextLabel* l = form_->StakeLabel[p];
    l->SetCaption(QString::number(sum));
    l->adjustSize();
    l->raise();
}

void TableClient::OnGameStart(const PacketFrame& f) {
    ResetTableView();
    for (TextLabel* l : form_->StakeLabel) l->show();
    for (int p = 0; p < 4; ++p)
        if (state_.LookedInHand[p]) ++state_.InHandTally;
    SuanfenWindow& sf = suanfen();
    for (int p = 0; p < 4; ++p) {
        sf.sf[p]->SetCaption(state_.Profiles[p].NickName);
        sf.sf[p]->show();
    }
    state_.BaseStake = static_cast<int32_t>(uint32_t(f[12]) << 24 | uint32_t(f[13]) << 16 |
                                            uint32_t(f[14]) << 8 | f[15]);
    NotifyLobby(kLobbyHandStarted);
    timerKeepAlive_->Stop();
    if (exitWindow_ && exitWindow_->isVisible()) exitWindow_->hide();
    transport_.Slots.StartClock.Armed = false;
    transport_.Slots.TurnClock.Armed = false;
    for (int p = 1; p <= 3; ++p) form_->OK[p]->hide();
    state_.GameRunning = true;
    HandPlayed = true;
    state_.DealStep = 1;
    StartDeal();
    for (TextLabel* l : form_->StakeLabel) {
        l->SetCaption(QStringLiteral("10"));
        l->adjustSize();
    }
    state_.MyStakeUnits = 10;
}

void TableClient::OpenHands(const PacketFrame& f, bool stakeCase) {
    if (stakeCase && !(kaipai_ && kaipai_->isVisible()))
        ShowNotice(QStringLiteral("彩池筹码数已达到系统设定数，自动开牌！"));
    for (SeatState& seat : state_.Seats)
        for (int d = 0; d < 3; ++d) seat.Cards[d].ImageIndex = static_cast<int16_t>(d);
    for (int entry : {16, 32, 48, 64}) {
        if (!stakeCase && entry > 32) break;
        if (stakeCase && entry > 16 && f[entry] == 0) continue;
        const int p = state_.PositionOfSeat(f[entry]);
        for (int d = 0; d < 3; ++d) {
            const int32_t code = ReadCardCode(f, entry + 4 + 4 * d);
            state_.Seats[p].Cards[d].Code = code;
            ShowCard(p, d, CardPictureNumber(code));
        }
        SortHand(p);
    }
}

void TableClient::OnTurnUpdate(const PacketFrame& f) {
    // 1. The coin warning: it only informs.
    const double staked = StakeNumber(0);
    const double coins = LeadingValue(form_->Cash[0]->Caption());
    const double rest = coins - staked * state_.BaseStake;
    if (coins != 0 && rest < 100.0 * state_.BaseStake)
        ShowNotice(QStringLiteral("您现有的金币已无法再继续游戏！"));
    else if (coins != 0 && rest < 300.0 * state_.BaseStake)
        ShowNotice(QStringLiteral("您的金币快用完了！请谨慎下注！"));
    else if (kaipai_)
        kaipai_->hide();
    // 2.-3.
    state_.MyTurn = false;
    state_.ComparePending = false;
    const int a = state_.PositionOfSeat(f[6]);
    const int n = state_.PositionOfSeat(f[12]);
    // 4. The turn clock moves to the next player.
    const double clockAt[4][2] = {{0, 0}, {44, 248}, {346, 110}, {863, 248}};
    auto startClock = [this](double left, double top) {
        transport_.Slots.TurnClock.Arm();
        state_.TurnClockLast = seams_.loop.Now();
        ShowCountdown(left, top);
    };
    if (n != 0)
        startClock(clockAt[n][0], clockAt[n][1]);
    else  // the local place stays where it was
        startClock(form_->Time_Img->Left() / scale_.ScaleX, form_->Time_Img->Top() / scale_.ScaleY);
    // 5. The action.
    auto& speak = form_->Speak;
    switch (f[9]) {
        case 1:
            for (PictureBox* b : speak) b->hide();
            if (a != 0) {
                state_.HasLooked[a] = false;
                speak[a]->SetPicture(pictureTables_.GiveUpBubblePictures[a - 1]);
                speak[a]->show();
                speak[a]->raise();
                state_.LookedInHand[a] = false;
                CollapseCards(a);
                --state_.ActiveCount;
            }
            sound_.PlayEffect(QStringLiteral("giveup.wav"));
            transport_.Slots.BubbleClock.Arm();
            state_.LastActorPosition = static_cast<int16_t>(a);
            break;
        case 2: {
            sound_.PlayEffect(QStringLiteral("kanpai.wav"));
            for (PictureBox* b : speak) b->hide();
            auto& cards = form_->cardImage[n];
            if (n != 0) {
                for (int i = 1; i <= 2; ++i) {
                    cards[i]->MoveTo(cards[0]->Left() + 30 * i * scale_.ScaleX, cards[i]->Top());
                    cards[i]->raise();
                }
            }
            // The looker's bubble; the local seat shows the first look bubble too.
            speak[n]->SetPicture(pictureTables_.LookBubblePictures[n == 0 ? 0 : n - 1]);
            speak[n]->show();
            speak[n]->raise();
            state_.LookedInHand[n] = true;
            transport_.Slots.BubbleClock.Arm();
            state_.LastActorPosition = static_cast<int16_t>(n);
            state_.HasLooked[n] = true;
            break;
        }
        case 4:
            if (a != 0) {
                AnimateBet(a, f[14]);
                AddToStake(a, f[14]);
            }
            if (f[16] != 0) OpenHands(f, true);
            break;
        case 8: {
            if (a != 0) {
                AddToStake(a, f[14]);
                AnimateBet(a, f[14]);
            }
            std::array<int16_t, 24> cards{};
            for (int i = 0; i < 12; ++i) {
                cards[i] = f[20 + i];
                cards[12 + i] = f[36 + i];
            }
            const int w = state_.PositionOfSeat(f[16]);
            const int l = state_.PositionOfSeat(f[32]);
            if (state_.ActiveCount == 2) OpenHands(f, false);
            ShowCompare(w, l, cards);
            if (sound_.SoundOn && state_.ActiveCount > 2) {
                if (l != 0 && w != 0)
                    sound_.PlayEffect(QStringLiteral("giveup.wav"));
                else if (l != 0)
                    sound_.PlayEffect(QStringLiteral("vs_win.wav"));
                else
                    sound_.PlayEffect(QStringLiteral("vs_lost.wav"));
            }
            state_.LookedInHand[l] = false;
            state_.HasLooked[l] = false;
            if (state_.ActiveCount > 2) CollapseCards(l);
            const int before = state_.ActiveCount--;
            form_->Operation[3]->SetPicture(pictureTables_.ActionButtonPictures[before == 3 ? 28 : 10]);
            break;
        }
        default:
            break;
    }
    // 6. The local player's turn.
    if ((f[12] & 0x0F) != state_.Seats[0].SeatBit) return;
    if (f[9] == 2 && a == 0) {
        SeatState& me = state_.Seats[0];
        for (int d = 0; d < 3; ++d) {
            me.Cards[d].Code = ReadCardCode(f, 20 + 4 * d);
            me.Cards[d].ImageIndex = static_cast<int16_t>(d);
        }
        for (PictureBox* c : form_->cardImage[0]) c->hide();
        for (int d = 0; d < 3; ++d) {
            PictureBox* c = form_->cardImage[0][d];
            c->setScaledContents(true);
            ShowCard(0, d, CardPictureNumber(me.Cards[d].Code));
            c->show();
            c->raise();
        }
        SortHand(0);
    }
    OfferTurnActions(f[11], f[15]);
    state_.MyTurn = true;
    startClock(490, 452);
}

void TableClient::ShowCountdown(double left, double top) {
    state_.TurnSeconds = 15;
    form_->Time_Img->Place(left, top);
    form_->Number->MoveTo(form_->Time_Img->Left() + 48 * scale_.ScaleX,
                          form_->Time_Img->Top() + 5 * scale_.ScaleY);
    form_->Number->SetCaption(QStringLiteral("15"));
    form_->Number->SetForeColor(0x00FF00);
    form_->Time_Img->show();
    form_->Number->show();
    form_->Time_Img->raise();
    form_->Number->raise();
}

}  // namespace sorvik
