// The one place where server frames take effect, and the two login answers.

#include <exception>

#include "session/TableClient.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"
#include "table/WebPanel.h"

namespace sorvik {

void TableClient::DispatchFrame(const PacketFrame& frame) {
    const uint8_t type = frame[3];
    if (type != kReconnectReply) {
        transport_.SessionTag[0] = frame[260];
        transport_.SessionTag[1] = frame[261];
    }
    RunGuarded([&] {
        switch (type) {
            case kGameStart: OnGameStart(frame); break;
            case kTurnUpdate: OnTurnUpdate(frame); break;
            case kGameResult: OnGameResult(frame); break;
            case kReadyOrLeave: OnTableEnd(frame); break;
            case kLogin: OnLoginReply(frame); break;
            case kUserInfo: OnUserInfo(frame); break;
            case kUserQuit: OnUserQuit(frame); break;
            case kTableNotice: OnTableNotice(frame); break;
            case kReadyNotice: OnReadyNotice(frame); break;
            case kReconnectReply: OnReconnectReply(frame); break;
            case kChat: ShowChat(frame); break;
            default: break;  // not a message the table acts on
        }
    });
}

void TableClient::RunGuarded(const std::function<void()>& handling) {
    try {
        handling();
    } catch (const std::exception&) {
        // A fault while a frame is handled ends the table: the lobby gets the screen back
        // and the program ends, without a message and without a leave frame.
        RestoreLobby();
        EndProgram(1);
    }
}

void TableClient::OnLoginReply(const PacketFrame& frame) {
    // 1.
    state_.TableClosed = false;
    timerKeepAlive_->Start();
    if (otherExitWindow_) otherExitWindow_->hide();
    state_.LoginPending = false;

    // From here each step stands alone: one that faults is skipped.
    auto step = [](auto&& body) {
        try {
            body();
        } catch (const std::exception&) {
        }
    };
    const uint8_t result = frame[15];
    if (result == 1) {
        step([&] { state_.LoginAccepted = true; });
        step([&] { NotifyLobby(kLobbyConnected); });
        step([&] { state_.ServerOption9 = frame[9]; });
        step([&] {
            form_->Sysmsg[0]->clear();
            form_->Sysmsg[1]->clear();
            SystemMessage(0, QStringLiteral("连接服务器成功！"));
            SystemMessage(1, QStringLiteral("欢迎来到Morvel游戏山庄！更多精彩请访问我们的网站。"));
        });
        step([&] {
            state_.CountdownReload = state_.BossKeyActive ? 2 : frame[11];
        });
        step([&] {
            state_.NewsUrl = ReadFrameText(frame, 16, 100, TextKind::SingleByte);
            if (state_.NewsUrl.isEmpty()) return;
            form_->WebBrowser1->Navigate(state_.NewsUrl);
            if (!WebFailed) form_->WebBrowser1->show();
        });
        return;
    }
    const QString reason = result == 2
        ? QStringLiteral("启动游戏失败，请检查您的防火墙，并重新在大厅就座后进入游戏！")
        : QStringLiteral("验证错误，请重新在大厅就座后进入游戏！");
    step([&] { NotifyLobby(kLobbyReconnect); });
    step([&] {
        form_->Sysmsg[0]->clear();
        SystemMessage(0, reason);
    });
    RestoreLobby();
    EndProgram(1);
}

void TableClient::OnReconnectReply(const PacketFrame& frame) {
    if (frame[15] == 1) {
        state_.LoginAccepted = true;
        state_.Reconnected = true;
        form_->Sysmsg[0]->clear();
        form_->Sysmsg[1]->clear();
        SystemMessage(0, QStringLiteral("正在重连服务器，请等待...！"));
        return;
    }
    seams_.desktop.ShowMessage(QStringLiteral("重连服务器失败，退出后请重新入座！"),
                               QString::fromUtf8(kProgramTitle), MessageButtons::Ok);
    RestoreLobby();
    EndProgram(1);
}

}  // namespace sorvik
