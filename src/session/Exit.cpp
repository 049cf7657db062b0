// Leaving the table: the exit windows, the quit frame, the teardown and the resets.

#include <QFile>
#include <cmath>

#include "chat/ChatWindows.h"
#include "session/TableClient.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"
#include "results/ResultWindows.h"

namespace sorvik {

void TableClient::LeaveToLobby() {
    form_->showMinimized();
    RestoreLobby();
    state_.TableArmed = false;
    TeardownTable();
    ResetHandState();
    ResetTableView();
}

void TableClient::SendQuit() {
    PacketFrame leave = GameFrame(kReadyOrLeave);  // byte 15 stays 0: the leave request
    video_->DropAllPlayers();
    transport_.Slots.DisarmAll();
    StopPump();
    timerKeepAlive_->Stop();
    if (seams_.socket.State() == kSocketConnected)
        seams_.socket.SendData(leave.data(), leave.size());
    // Lets the frame leave before the socket is closed.
    seams_.loop.WaitSeconds(state_.Reconnected ? 0.8 : 0.4);
}

void TableClient::TeardownTable() {
    ++teardowns_;
    // 1.-2.
    state_.GameRunning = false;
    state_.ToolbarUsed[2] = true;
    transport_.Slots.DisarmAll();
    StopPump();
    timerKeepAlive_->Stop();
    // 3.
    form_->Sysmsg[0]->clear();
    form_->Sysmsg[1]->clear();
    // 4.-5. The wait for the socket to close is bounded.
    seams_.socket.Close();
    state_.LoginPending = false;
    if (kaipai_) kaipai_->hide();
    if (suanfen_) suanfen_->hide();
    seams_.loop.WaitUntil([this] { return seams_.socket.State() != kSocketConnected; },
                          kTeardownWaitSeconds);
    // 6. The hover score table.
    for (TextLabel* l : suanfen().sf) l->SetCaption({});
    // 7. Every position's occupant, profile, record lines and totals.
    ScoreWindow& score = Score();
    HeroWindow& hero = Hero();
    hero.Num->clear();
    for (int p = 0; p < 4; ++p) {
        ClearPosition(p);
        // A table left without the leave frame (a lost link) takes its players' video too.
        if (p > 0) video_->ClearPositionVideo(p);
        state_.Seats[p].AccountName.clear();
        state_.Seats[p].SeatBit = 0;
        state_.Profiles[p] = SeatProfile{};
        hero.Tou[p]->ClearPicture();
        hero.ID[p]->SetCaption({});
        hero.Grade[p]->clear();
        hero.sunScore[p]->hide();
        score.Tou[p]->ClearPicture();
        score.ID[p]->SetCaption({});
        score.State[p]->clear();
        score.State[p + 4]->clear();
        state_.CumulativeScore[p] = 0;
        state_.RunningNet[p] = 0;
        form_->Speak[p]->hide();
    }
    hero.hide();
    score.hide();
    // 8. The statistics file of this table.
    QFile::remove(seams_.desktop.ProgramFolder() + QStringLiteral("/info.mv"));
    // 9.
    if (talk_) talk_->Text1->clear();
    transport_.ResetRings();
    state_.SeatedCount = 0;
    state_.GameRunning = false;
    // 10.
    form_->showMinimized();
    if (exitWindow_) exitWindow_->hide();
    state_.GameCount = 0;
    // 11.
    form_->AnNiu[2]->SetPicture(pictureTables_.ToolbarPictures[4]);
    form_->AnNiu[2]->setEnabled(true);
    // 12.
    UnloadChips();
}

void TableClient::ResetHandState() {
    for (SeatState& seat : state_.Seats)
        for (int i = 0; i <= 5; ++i) seat.Cards[i].ImageIndex = -1;
    state_.ProfileCount = 0;
    state_.GameRunning = false;
}

void TableClient::ResetForNextHand() {
    for (SeatState& seat : state_.Seats)
        for (CardSlot& slot : seat.Cards) slot.ImageIndex = -1;
    state_.ProfileCount = 0;
    state_.GameRunning = false;
    // Unsent frames are dropped; frames that arrived, and the start of one still arriving,
    // stay, so a game start received during the countdown is not lost and the stream stays
    // aligned.
    transport_.ResetSendRing();
}

void TableClient::ResetTableView() {
    if (talk_) talk_->hide();
    form_->img_dizhu->hide();
    if (kaipai_) kaipai_->hide();
    form_->Time_Img->hide();
    form_->Number->hide();
    // The layout anchors of each position, rounded after scaling.
    const double anchors[4][4] = {
        {500, 430, 0, 0}, {150, 310, 100, 280}, {390, 190, 600, 280}, {650, 310, 250, 280}};
    for (int p = 0; p < 4; ++p) {
        SeatState& seat = state_.Seats[p];
        seat.AnchorX = static_cast<int16_t>(std::lround(anchors[p][0] * scale_.ScaleX));
        seat.AnchorY = static_cast<int16_t>(std::lround(anchors[p][1] * scale_.ScaleY));
        seat.AnchorX2 = static_cast<int16_t>(std::lround(anchors[p][2] * scale_.ScaleX));
        seat.AnchorY2 = static_cast<int16_t>(std::lround(anchors[p][3] * scale_.ScaleY));
    }
    // The cards back on the stack, the buttons disabled, the chips gone, the stakes empty.
    for (int p = 0; p < 4; ++p)
        for (PictureBox* c : form_->cardImage[p]) {
            c->setEnabled(true);
            c->resize(static_cast<int>(std::lround((p == 0 ? 90 : 80) * scale_.ScaleX)),
                      static_cast<int>(std::lround((p == 0 ? 120 : 108) * scale_.ScaleY)));
            c->MoveTo(480 * scale_.ScaleX, 312 * scale_.ScaleX);
        }
    for (int k = 0; k < 9; ++k) ShowActionDisabled(k);
    UnloadChips();
    const double stakeAt[4][2] = {{505, 505}, {210, 355}, {500, 220}, {790, 358}};
    for (int p = 0; p < 4; ++p) {
        form_->StakeLabel[p]->SetCaption({});
        form_->StakeLabel[p]->Place(stakeAt[p][0], stakeAt[p][1]);
    }
    for (PictureBox* b : form_->bipai) b->hide();
    state_.ComparePending = false;
    state_.CompareBlink = false;
    state_.CompareBlinkTicks = 0;
    state_.CompareBlinkPhase = false;
    state_.MyStakeUnits = 0;
    state_.CurrentStake = 0;
    state_.PendingRaise = 0;
    state_.StakeFactor = 1;
    state_.LookedInHand.fill(false);
    state_.HasLooked.fill(false);
    state_.ActiveCount = 4;
    state_.InHandTally = 0;
    state_.ResultFramesSinceReset = 0;
    state_.LastActorPosition = 0;
    state_.ReconnectAttempts = 0;
}

void TableClient::ShowExitMessage(const QString& text) {
    OtherExitWindow& w = frmOtherExit();
    w.Label1->SetCaption(text);
    CentreOver(&w, form_.get());
    w.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    w.show();
    w.raise();
}

void TableClient::ToggleExitConfirm() {
    if (kaipai_) kaipai_->hide();
    ExitConfirmWindow& w = frmExit();
    if (w.isVisible()) {
        w.hide();
        return;
    }
    CentreOver(&w, form_.get());
    w.Label2->setVisible(state_.GameRunning);
    w.show();
    w.raise();
}

void TableClient::ExitConfirmed() {
    state_.GameRunning = false;
    if (seams_.socket.State() == kSocketConnected) {
        transport_.Slots.ExitClock.Disarm();
        SendQuit();
    }
    ReturnToLobby();
    frmExit().hide();
}

void TableClient::ReturnToLobby() {
    state_.TableArmed = false;
    TeardownTable();
    ResetHandState();
    ResetTableView();
    if (!LobbyFound()) EndProgram(0);
    form_->showMinimized();
    RestoreLobby();
}

void TableClient::ExitCancelled() { frmExit().hide(); }

void TableClient::OtherExitOk() {
    frmOtherExit().hide();
    ReturnToLobby();
}

void TableClient::OtherExitCancel() {
    state_.TableClosed = true;
    frmOtherExit().hide();
}

}  // namespace sorvik
