// The local player's actions: the turn's offer, the nine action buttons, the raise steps,
// the turn running out, and the choice of a compare target.

#include "session/TableClient.h"
#include "table/MainForm.h"

namespace sorvik {

void TableClient::ShowActionDisabled(int k) {
    int entry = 3 * k + 1;
    if (k == 3) entry = state_.ActiveCount == 2 ? 28 : 10;
    form_->Operation[k]->SetPicture(pictureTables_.ActionButtonPictures[entry]);
    form_->Operation[k]->setEnabled(false);
    state_.ActionEnabled[k] = false;
}

void TableClient::OfferAction(int k) {
    int entry = 3 * k;
    if (k == 3) entry = state_.ActiveCount == 2 ? 27 : 9;
    PictureBox* b = form_->Operation[k];
    b->SetPicture(pictureTables_.ActionButtonPictures[entry]);
    b->show();
    b->setEnabled(true);
    state_.ActionEnabled[k] = true;
}

void TableClient::OfferTurnActions(uint8_t mask, int stake) {
    for (int bit = 0; bit < 4; ++bit) {
        if (!(mask >> bit & 1)) continue;
        switch (bit) {
            case 0:
                OfferAction(0);
                break;
            case 1:
                state_.PendingRaise = 0;
                state_.CurrentStake = stake;
                form_->StakeLabel[0]->SetCaption(QString::number(state_.MyStakeUnits));
                OfferAction(1);
                break;
            case 2: {
                state_.PendingRaise = 0;
                state_.CurrentStake = stake;
                form_->StakeLabel[0]->SetCaption(QString::number(state_.MyStakeUnits));
                OfferAction(2);  // the plain follow picture
                const int cap = 50 * state_.StakeFactor;
                if (stake != cap) OfferAction(4);
                if (cap >= stake + 50) {
                    for (int k : {5, 6, 7, 8}) OfferAction(k);
                } else if (cap >= stake + 20) {
                    for (int k : {6, 7, 8}) OfferAction(k);
                } else if (cap >= stake + 10) {
                    for (int k : {7, 8}) OfferAction(k);
                }
                break;
            }
            case 3:
                OfferAction(3);
                break;
        }
    }
}

void TableClient::RaiseStep(int n) {
    state_.PendingRaise += n;
    TextLabel* mine = form_->StakeLabel[0];
    mine->SetCaption(QString::number(state_.MyStakeUnits + state_.PendingRaise));
    mine->adjustSize();
    mine->raise();
    form_->Operation[2]->SetPicture(pictureTables_.ActionButtonPictures[30]);
    RaisePending = true;
    const int total = state_.CurrentStake + state_.PendingRaise;
    const int cap = 50 * state_.StakeFactor;
    if (cap < total + 10) {
        for (int k : {5, 6, 7}) ShowActionDisabled(k);
    } else if (cap < total + 20) {
        for (int k : {5, 6}) ShowActionDisabled(k);
    } else if (cap < total + 50) {
        ShowActionDisabled(5);
    }
}

void TableClient::OnActionClick(int k) {
    if (!state_.LoginAccepted || k < 0 || k > 8) return;
    auto allDisabled = [this] {
        for (int i = 0; i < 9; ++i) ShowActionDisabled(i);
    };
    auto action = [this](uint8_t code, int byte15) {
        PacketFrame f = GameFrame(kActionFrame);
        f[9] = code;
        f[15] = static_cast<uint8_t>(byte15);
        transport_.SendFrame(f);
    };
    auto charge = [this](int amount) {
        AnimateBet(0, amount);
        state_.MyStakeUnits += amount;
        form_->StakeLabel[0]->SetCaption(QString::number(state_.MyStakeUnits));
        form_->StakeLabel[0]->adjustSize();
        form_->StakeLabel[0]->raise();
    };
    if (k == 2) {
        state_.TurnSeconds = state_.CountdownReload;
        transport_.Slots.TurnClock.Armed = false;
        form_->Number->hide();
        form_->Time_Img->hide();
    }
    switch (k) {
        case 0:
            allDisabled();
            state_.MyTurn = false;
            action(1, 0);
            --state_.ActiveCount;
            RaisePending = false;
            SkipHoverReset = true;
            CollapseCards(0);
            sound_.PlayEffect(QStringLiteral("button.wav"));
            return;
        case 1:
            state_.StakeFactor = 2;
            allDisabled();
            state_.MyTurn = false;
            action(2, 0);
            SkipHoverReset = true;
            RaisePending = false;
            state_.PendingRaise = 0;
            return;
        case 2: {
            sound_.PlayEffect(QStringLiteral("button.wav"));
            allDisabled();
            const int amount = state_.CurrentStake + state_.PendingRaise;
            charge(amount);
            for (TextLabel* l : form_->StakeLabel) l->raise();
            action(4, amount);
            state_.CurrentStake = 0;
            state_.PendingRaise = 0;
            state_.MyTurn = false;
            SkipHoverReset = true;
            RaisePending = false;
            return;
        }
        case 3: {
            sound_.PlayEffect(QStringLiteral("button.wav"));
            allDisabled();
            BeginCompareChoice();
            if (state_.ActiveCount == 2)
                charge(2 * state_.CurrentStake);
            else if (state_.ActiveCount >= 3)
                charge(state_.CurrentStake);
            SkipHoverReset = true;
            RaisePending = false;
            return;
        }
        case 4: {
            sound_.PlayEffect(QStringLiteral("button.wav"));
            RaisePending = false;
            allDisabled();
            state_.MyTurn = false;
            const int amount = 50 * state_.StakeFactor;
            charge(amount);
            SkipHoverReset = true;
            action(4, amount);
            return;
        }
        case 5:
        case 6:
        case 7:
            sound_.PlayEffect(QStringLiteral("coin_click.wav"));
            RaiseStep(k == 5 ? 50 : k == 6 ? 20 : 10);
            if (k != 5) SkipHoverReset = true;
            return;
        case 8: {
            sound_.PlayEffect(QStringLiteral("button.wav"));
            allDisabled();
            state_.MyTurn = false;
            const int amount = state_.CurrentStake;
            charge(amount);
            SkipHoverReset = true;
            action(4, amount);
            RaisePending = false;
            return;
        }
    }
}

void TableClient::TurnTimeout() {
    for (int k = 0; k < 9; ++k) ShowActionDisabled(k);
    if (state_.MyTurn) {
        if (!state_.ComparePending) {
            OnActionClick(0);
            CollapseCards(0);
        } else {
            AutoCompare();
        }
    }
    form_->Time_Img->hide();
    form_->Number->hide();
    state_.TurnSeconds = state_.CountdownReload;
    transport_.Slots.TurnClock.Armed = false;
}

// ---- The compare target ----

void TableClient::BeginCompareChoice() {
    const double at[3][2] = {{290, 350}, {485, 240}, {720, 350}};
    for (int k = 0; k < 3; ++k) form_->bipai[k]->Place(at[k][0], at[k][1]);
    int looked = 0;
    for (int p = 1; p <= 3; ++p) looked += state_.HasLooked[p] ? 1 : 0;
    if (state_.ActiveCount > 2 && looked != 1) {
        state_.CompareBlinkPhase = false;
        state_.CompareBlinkTicks = 0;
        state_.CompareBlink = true;
        for (int k = 0; k < 3; ++k) {
            if (!state_.LookedInHand[k + 1]) continue;
            PictureBox* b = form_->bipai[k];
            b->SetPicture(pictureTables_.CompareButtonPictures[0]);
            b->setScaledContents(true);
            b->show();
            b->setEnabled(true);
            b->raise();
        }
        state_.ComparePending = true;
        return;
    }
    state_.ComparePending = true;
    int target = 0;
    for (int p = 1; p <= 3; ++p)
        if (state_.LookedInHand[p]) target = p;
    PacketFrame f = GameFrame(kActionFrame);
    f[9] = 8;
    f[15] = state_.Seats[target].SeatBit;
    transport_.SendFrame(f);
    state_.MyTurn = false;
}

void TableClient::OnCompareTargetClick(int k) {
    if (k < 0 || k > 2) return;
    for (PictureBox* b : form_->bipai) b->hide();
    PacketFrame f = GameFrame(kActionFrame);
    f[9] = 8;
    f[15] = state_.Seats[k + 1].SeatBit;
    transport_.SendFrame(f);
    state_.MyTurn = false;
    state_.ComparePending = false;
    state_.CompareBlink = false;
    state_.CompareBlinkTicks = 0;
    state_.CompareBlinkPhase = false;
}

void TableClient::CompareBlinkTick() {
    if (!state_.CompareBlink) return;
    const int32_t n = state_.CompareBlinkTicks++;
    if (n != 9) return;
    const bool phase = state_.CompareBlinkPhase;
    for (int p = 1; p <= 3; ++p) {
        if (!state_.HasLooked[p]) continue;
        PictureBox* b = form_->bipai[p - 1];
        b->SetPicture(pictureTables_.CompareButtonPictures[phase ? 0 : 1]);
        b->show();
        b->setEnabled(true);
        b->raise();
        state_.CompareBlinkTicks = 0;
    }
    state_.CompareBlinkPhase = !phase;
}

void TableClient::AutoCompare() {
    state_.CompareBlink = false;
    state_.CompareBlinkTicks = 0;
    state_.CompareBlinkPhase = false;
    for (int p = 1; p <= 3; ++p)
        if (state_.HasLooked[p]) {
            OnCompareTargetClick(p - 1);
            return;
        }
}

}  // namespace sorvik
