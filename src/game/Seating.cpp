// Players joining, leaving and becoming ready, and the server's two ways of ending a table.

#include <QTime>

#include "results/ResultWindows.h"
#include "session/TableClient.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"

namespace sorvik {
namespace {

// The avatar index of a face code: the number after the letter minus one, ten more for
// "w"; a code whose number is not a number (or is 0) is a fault.
int AvatarIndex(const QString& face) {
    int index = 0;
    if (face.size() == 2 || face.size() == 3) {
        bool ok = false;
        const int number = face.mid(1).toInt(&ok);
        for (QChar c : face.mid(1))
            if (c < '0' || c > '9') ok = false;
        if (!ok) throw DispatchFault("face code without a number");
        index = number - 1;
        if (index < 0) throw DispatchFault("face code 0");
    }
    if (index >= 10) index = 0;
    if (face.startsWith('w')) index += 10;
    return index;
}

// A 16-bit counter step; leaving the range is a fault.
void Step16(int16_t& counter, int by) {
    const int value = counter + by;
    if (value < -32768 || value > 32767) throw DispatchFault("counter out of range");
    counter = static_cast<int16_t>(value);
}

}  // namespace

QString TableClient::Clock() const {
    const QTime now = QTime::currentTime();
    return QStringLiteral("%1:%2:%3").arg(now.hour()).arg(now.minute()).arg(now.second());
}

void TableClient::SetAvatar(int p, int index) {
    const int id = pictureTables_.AvatarPictures.at(static_cast<size_t>(index));
    form_->Tou[p]->SetPicture(id);
    Score().Tou[p]->SetPicture(id);
    Hero().Tou[p]->SetPicture(id);
}

void TableClient::ClearPosition(int p) {
    form_->OK[p]->hide();
    form_->Tou[p]->ClearPicture();
    form_->Nid[p]->SetCaption({});
    form_->Cash[p]->SetCaption({});
    form_->Level[p]->SetCaption({});
}

void TableClient::OnUserInfo(const PacketFrame& f) {
    // 1.-2.
    const QString name = ReadFrameText(f, 168, 16, TextKind::SingleByte);
    Step16(state_.ProfileCount, 1);
    if (state_.Seats[0].SeatBit == 0) state_.Seats[0].SeatBit = f[6] & 0x0F;
    // 3.
    const int p = state_.PositionOfSeat(f[226]);
    if (p == 0) state_.ToolbarUsed[2] = false;
    // 4. A player already shown is not seated twice.
    for (int d = 0; d < 4; ++d)
        if (!form_->Nid[d]->Caption().isEmpty() && state_.Seats[d].AccountName == name) return;
    // 5.
    const bool fills = state_.SeatedCount == 3;
    Step16(state_.SeatedCount, 1);
    if (fills) {
        form_->showNormal();
        MinimizeLobby();
        form_->activateWindow();
    }
    // 6.-8.
    state_.Seats[p].AccountName = name;
    if (p != 0) state_.Seats[p].SeatBit = f[226] & 0x0F;
    if (p == 0 && !video_->CaptureOn) video_->StartLocalCapture();
    SeatProfile& profile = state_.Profiles[p];
    DecodeProfile(profile, f);
    // 9. The ready mark by coins.
    const int k = profile.Coins >= 60000 ? 2 : profile.Coins >= 20000 ? 1 : 0;
    form_->OK[p]->SetPicture(pictureTables_.ReadyPictures[k]);
    if (f[208] == 1) {
        form_->OK[p]->show();
        form_->OK[p]->raise();
    }
    // 10.-11.
    SetAvatar(p, AvatarIndex(profile.FaceId));
    form_->Nid[p]->SetCaption("[" + profile.Title + "] " + profile.NickName);
    form_->Cash[p]->SetCaption(p == 0 ? PlainAmount(profile.Coins) + QStringLiteral("金币")
                                      : QStringLiteral("********金币"));
    form_->Level[p]->SetCaption(profile.LevelTitle);
    for (TextLabel* l : {form_->Nid[p], form_->Cash[p], form_->Level[p]}) {
        l->adjustSize();
        l->raise();
    }
    Score().ID[p]->SetCaption(profile.NickName);
    Hero().ID[p]->SetCaption(profile.NickName);
    // 12.
    if (p != 0) video_->ConnectPlayer(p);
    // 13.
    if (state_.SeatedCount == 4 && !state_.TableArmed) {
        ResetTableView();
        ResetHandState();
        state_.TableArmed = true;
        form_->Sysmsg[0]->clear();
        SystemMessage(0, QStringLiteral("游戏将在15秒内开始"));
    }
    // 14.
    if (state_.ProfileCount == 3) {
        state_.ProfileCount = 4;
        state_.ToolbarUsed[5] = false;
        state_.ToolbarUsed[6] = false;
    }
}

void TableClient::OnUserQuit(const PacketFrame& f) {
    const QString name = ReadFrameText(f, 16, 16, TextKind::SingleByte);
    if (name == state_.Seats[0].AccountName) EndProgram(0);  // the server removed us
    transport_.Slots.StartClock.Armed = false;
    for (int e = 1; e <= 3; ++e) {
        if (name.isEmpty() || name != state_.Seats[e].AccountName) continue;
        state_.TableArmed = false;
        Step16(state_.SeatedCount, -1);
        ClearPosition(e);
        form_->Sysmsg[0]->clear();
        SystemMessage(0, state_.Profiles[e].NickName + QStringLiteral("退出了游戏 ") + Clock());
        state_.ClearSeat(e);
        video_->ClearPositionVideo(e);
    }
    video_->DropPlayer(name);
}

void TableClient::OnReadyNotice(const PacketFrame& f) {
    const QString name = ReadFrameText(f, 16, 16, TextKind::SingleByte);
    if (f[15] != 1) return;
    for (int e = 0; e < 4; ++e)
        if (!form_->Nid[e]->Caption().isEmpty() && state_.Seats[e].AccountName == name) {
            form_->OK[e]->show();
            form_->OK[e]->raise();
        }
    if (form_->OK[1]->isVisibleTo(form_->Pic1) && form_->OK[2]->isVisibleTo(form_->Pic1) &&
        form_->OK[3]->isVisibleTo(form_->Pic1)) {
        form_->AnNiu[2]->SetPicture(pictureTables_.ToolbarPictures[6]);
        state_.ToolbarUsed[2] = true;
        ResetTableView();
        ResetHandState();
        state_.TableArmed = true;
    }
}

void TableClient::OnTableEnd(const PacketFrame& f) {
    const uint8_t reason = f[15];
    if (reason == 0 || reason == 2) return;
    PumpSlots& s = transport_.Slots;
    if (reason == 1) {
        s.ExitClock.Armed = false;
        s.StartClock.Armed = false;
        if ((f[6] & 0x0F) == 15) return;
        const int left = ~f[6] & 0x0F;
        state_.TableClosed = true;
        state_.GameRunning = false;
        if (left == state_.Seats[0].SeatBit) {
            // Only the local player left: this table is over for good.
            seams_.socket.Close();
            Unload();
        }
        state_.TableArmed = false;
        QString names = QStringLiteral("玩家");
        for (int bit : {1, 2, 4, 8})
            if (left & bit) {
                names += state_.Profiles[state_.PositionOfSeat(static_cast<uint8_t>(bit))].NickName + QStringLiteral("、");
                Step16(state_.SeatedCount, -1);
            }
        names.chop(1);
        SystemMessage(0, names + QStringLiteral("退出了游戏！ ") + Clock());
        CloseTable(names + QStringLiteral("退出了游戏！游戏结束！"));
        SendQuit();
        return;
    }
    // Players ran out of coins.
    state_.TableClosed = true;
    state_.GameRunning = false;
    s.ExitClock.Armed = false;
    s.StartClock.Armed = false;
    const int broke = 15 - (f[6] & 0x0F);
    const uint8_t mine = state_.Seats[0].SeatBit;
    QString others;
    for (int bit : {1, 2, 4, 8})
        if ((broke & bit) && bit != mine)
            others += state_.Profiles[state_.PositionOfSeat(static_cast<uint8_t>(bit))].NickName + QStringLiteral("，");
    if (!others.isEmpty()) others.chop(1);
    const bool meToo = (broke & mine) != 0;
    const QString myPart = meToo ? QStringLiteral("，") + state_.Seats[0].AccountName : QString();
    form_->Sysmsg[0]->clear();
    SystemMessage(0, QStringLiteral("玩家") + others + myPart + QStringLiteral("金币不够，退出游戏！"));
    for (int e = 1; e <= 3; ++e) {
        if (!(broke & state_.Seats[e].SeatBit)) continue;
        state_.TableArmed = false;
        Step16(state_.SeatedCount, -1);
        ClearPosition(e);
        state_.ClearSeat(e);
    }
    if (!form_->isMinimized()) Score().show();
    seams_.socket.Close();
    seams_.loop.SleepSeconds(2);
    QString text;
    if (meToo)
        text = others.isEmpty() ? QStringLiteral("您的金币不够，退出游戏！游戏结束！")
                                : others + QStringLiteral("以及您的金币不够，退出游戏！游戏结束！");
    else
        text = others + QStringLiteral("的金币不够，退出游戏！游戏结束！");
    CloseTable(text);
    SendQuit();
}

void TableClient::OnTableNotice(const PacketFrame& f) {
    state_.GameRunning = false;
    transport_.Slots.ExitClock.Armed = false;
    transport_.Slots.StartClock.Armed = false;
    seams_.loop.SleepSeconds(2);
    CloseTable(ReadFrameText(f, 16, 200, TextKind::Mixed));
    SendQuit();
}

void TableClient::CloseTable(const QString& text) {
    transport_.Slots.StartClock.Armed = false;
    transport_.Slots.ExitClock.Armed = false;
    state_.TableClosed = true;
    state_.GameRunning = false;
    state_.TableArmed = false;
    for (int p = 1; p <= 3; ++p) {
        form_->OK[p]->hide();
        form_->Tou[p]->ClearPicture();
        form_->Sysmsg[0]->clear();
        state_.ClearSeat(p);
    }
    seams_.socket.Close();
    seams_.loop.SleepSeconds(2);
    state_.GameCount = 0;
    transport_.ResetRings();
    state_.SeatedCount = 0;
    ShowExitMessage(text);
}

}  // namespace sorvik
