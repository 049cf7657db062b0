// Getting back into a hand after the link was lost: an attempt every 3 seconds with the
// login frame marked as a reconnect, giving up after 21 attempts.

#include "session/TableClient.h"
#include "table/MainForm.h"

namespace sorvik {

constexpr int kReconnectAttemptLimit = 20;

bool TableClient::ReconnectRunning() const { return timerCount_->IsActive(); }

void TableClient::StartReconnect() {
    state_.ReconnectAttempts = 0;
    timerCount_->Start();
}

void TableClient::ReconnectTick() {
    if (seams_.socket.State() == kSocketConnected) {
        timerCount_->Stop();
        return;
    }
    if (state_.ReconnectAttempts > kReconnectAttemptLimit) {
        LeaveToLobby();
        timerCount_->Stop();
        ShowExitMessage(QStringLiteral("网络已断开,请退出大厅重新登陆游戏"));
        return;
    }
    if (state_.GameRunning) {
        ++state_.ReconnectAttempts;
        ReconnectAttempt();
        return;
    }
    timerCount_->Stop();  // the hand ended meanwhile
}

void TableClient::ReconnectAttempt() {
    form_->Sysmsg[0]->clear();
    form_->Sysmsg[1]->clear();
    SystemMessage(0, QStringLiteral("正在重新连接服务器..."));
    loginFrame_[4] = 28;
    loginFrame_[261] = transport_.SessionTag[0];
    loginFrame_[262] = transport_.SessionTag[1];
    transport_.RingReceive = true;
    seams_.socket.Close();
    // The bytes of a frame cut off by the lost link would misalign the new stream.
    transport_.DropPartialInbound();
    if (params_.ProxyType == 0) {
        seams_.socket.Connect();
        ++connectGeneration_;
        transport_.Slots.ConnectSlot.Arm();
    } else if (params_.ProxyType == 5) {
        transport_.Slots.ConnectSlot.Disarm();
        ConnectViaProxy();
    }
}

}  // namespace sorvik
