#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ClientHarness.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

// A client logged in at a table, with the lobby's messages cleared.
struct LoggedIn : ClientHarness {
    LoggedIn() {
        EXPECT_TRUE(Start());
        LogIn();
        client->state().Seats[0].SeatBit = 1;
        lobby.posted.clear();
        socket.raw.clear();
    }
    std::vector<PacketFrame> Leaves() {
        std::vector<PacketFrame> out;
        for (const auto& f : socket.FramesOfType(kReadyOrLeave))
            if (f[15] == 0) out.push_back(f);
        return out;
    }
};

}  // namespace

TEST(LobbyMessages, StatusQueryAnswersWhetherAHandIsPlayed) {
    LoggedIn h;
    h.lobby.SendToClient(kLobbyStatus);
    h.client->state().GameRunning = true;
    h.lobby.SendToClient(kLobbyStatus);
    EXPECT_EQ(h.lobby.Codes(), (std::vector<uint32_t>{kLobbyExit, kLobbyStatus}));
    h.lobby.lobbyPresent = false;
    h.lobby.posted.clear();
    h.lobby.SendToClient(kLobbyStatus);
    EXPECT_TRUE(h.lobby.posted.empty());
    EXPECT_FALSE(h.desktop.ended);
}

TEST(LobbyMessages, QueryWithImpliedExit) {
    ClientHarness pending;  // login sent, not answered
    ASSERT_TRUE(pending.Start());
    pending.Connect();
    pending.lobby.posted.clear();
    pending.lobby.SendToClient(kLobbyConnected);
    EXPECT_EQ(pending.lobby.Codes(), std::vector<uint32_t>{kLobbyLoginPending});
    EXPECT_EQ(pending.socket.State(), kSocketConnected);

    LoggedIn playing;
    playing.client->state().GameRunning = true;
    playing.lobby.SendToClient(kLobbyConnected);
    EXPECT_EQ(playing.lobby.Codes(), std::vector<uint32_t>{kLobbyStatus});
    EXPECT_EQ(playing.socket.State(), kSocketConnected);

    LoggedIn idle;  // not playing: the client leaves and says so
    idle.lobby.SendToClient(kLobbyConnected);
    EXPECT_EQ(idle.Leaves().size(), 1u);
    EXPECT_EQ(idle.socket.State(), kSocketClosed);
    EXPECT_EQ(idle.lobby.Codes(), std::vector<uint32_t>{kLobbyExit});
}

TEST(LobbyMessages, ExitOrderLeavesAndStaysRunning) {
    LoggedIn h;
    h.lobby.SendToClient(kLobbyExit);
    ASSERT_EQ(h.Leaves().size(), 1u);
    EXPECT_EQ(h.Leaves()[0][6], 1);
    EXPECT_EQ(h.socket.State(), kSocketClosed);
    EXPECT_TRUE(h.client->form().isMinimized());
    EXPECT_FALSE(h.client->PumpRunning());
    EXPECT_FALSE(h.client->KeepAliveRunning());
    EXPECT_TRUE(h.lobby.posted.empty());  // the lobby asked: no answer, no restore
    EXPECT_EQ(h.client->state().Seats[0].SeatBit, 0);
    ASSERT_TRUE(h.Run(30));
    EXPECT_FALSE(h.desktop.ended);
    EXPECT_TRUE(h.socket.FramesOfType(kKeepAlive).empty());
}

TEST(LobbyMessages, ReconnectOrderConnectsAndLogsInAgain) {
    LoggedIn h;
    h.lobby.SendToClient(kLobbyExit);
    h.socket.raw.clear();
    h.client->state().ToolbarUsed[2] = true;
    h.lobby.SendToClient(kLobbyReconnect);
    EXPECT_EQ(h.socket.connects, 2);
    EXPECT_FALSE(h.client->state().ToolbarUsed[2]);
    h.Connect();
    ASSERT_EQ(h.socket.Frames().size(), 1u);
    EXPECT_EQ(h.socket.Frames()[0], h.client->loginFrame());
}

TEST(LobbyMessages, SystemCommandsRestoreAndMinimiseTheTable) {
    LoggedIn h;
    h.lobby.SendToClient(kWmSysCommand, kScMinimize);
    EXPECT_TRUE(h.client->form().isMinimized());
    h.lobby.SendToClient(kWmSysCommand, kScRestore);
    EXPECT_FALSE(h.client->form().isMinimized());
}

TEST(Leave, ConfirmedExitDuringAHand) {
    LoggedIn h;
    h.client->state().GameRunning = true;
    h.client->ToggleExitConfirm();
    EXPECT_TRUE(h.client->frmExit().isVisible());
    EXPECT_TRUE(h.client->frmExit().Label2->isVisible());
    h.client->ExitConfirmed();
    ASSERT_EQ(h.Leaves().size(), 1u);
    ASSERT_EQ(h.socket.closeTimes.size(), 1u);
    EXPECT_NEAR(h.socket.closeTimes[0] - h.socket.sendTimes.back(), 0.4, 1e-9);
    EXPECT_TRUE(h.client->form().isMinimized());
    EXPECT_FALSE(h.client->frmExit().isVisible());
    ASSERT_EQ(h.lobby.posted.size(), 1u);
    EXPECT_EQ(std::get<1>(h.lobby.posted[0]), kScRestore);
    EXPECT_FALSE(h.desktop.ended);
}

TEST(Leave, ConfirmedExitAfterAReconnectWaitsLonger) {
    LoggedIn h;
    h.client->state().Reconnected = true;
    h.client->ExitConfirmed();
    ASSERT_EQ(h.socket.closeTimes.size(), 1u);
    EXPECT_NEAR(h.socket.closeTimes[0] - h.socket.sendTimes.back(), 0.8, 1e-9);
}

TEST(Leave, ConfirmedExitWithTheLinkDownSendsNothing) {
    LoggedIn h;
    h.socket.PeerClose();
    h.client->ExitConfirmed();
    EXPECT_TRUE(h.socket.raw.empty());
    ASSERT_EQ(h.lobby.posted.size(), 1u);
    EXPECT_EQ(std::get<1>(h.lobby.posted[0]), kScRestore);

    LoggedIn gone;  // no lobby to go back to: the program ends
    gone.lobby.lobbyPresent = false;
    EXPECT_FALSE(gone.Call([&] { gone.client->ExitConfirmed(); }));
}

TEST(Leave, ExitWindowToggles) {
    LoggedIn h;
    h.client->ToggleExitConfirm();
    EXPECT_TRUE(h.client->frmExit().isVisible());
    EXPECT_FALSE(h.client->frmExit().Label2->isVisible());  // no hand running
    h.client->ToggleExitConfirm();
    EXPECT_FALSE(h.client->frmExit().isVisible());
    h.client->ToggleExitConfirm();
    h.client->ExitCancelled();
    EXPECT_FALSE(h.client->frmExit().isVisible());
    EXPECT_TRUE(h.socket.raw.empty());
}

TEST(Leave, MessageWindowButtons) {
    LoggedIn h;
    h.client->ShowExitMessage(QString::fromUtf8("玩家小明退出了游戏！游戏结束！"));
    OtherExitWindow& w = h.client->frmOtherExit();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w.Label1->Caption(), QString::fromUtf8("玩家小明退出了游戏！游戏结束！"));
    h.client->OtherExitCancel();
    EXPECT_TRUE(h.client->state().TableClosed);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(h.client->form().isMinimized());

    h.client->ShowExitMessage("x");
    h.client->OtherExitOk();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(h.client->form().isMinimized());
    EXPECT_EQ(h.socket.State(), kSocketClosed);
    ASSERT_FALSE(h.lobby.posted.empty());
    EXPECT_EQ(std::get<1>(h.lobby.posted.back()), kScRestore);
}

TEST(Leave, TeardownClearsTheTableAndDeletesTheStatisticsFile) {
    QTemporaryDir dir;
    LoggedIn h;
    h.desktop.folder = dir.path();
    QFile stats(dir.path() + "/info.mv");
    ASSERT_TRUE(stats.open(QIODevice::WriteOnly));
    stats.write("[juNum:1]\r\n");
    stats.close();
    TableState& s = h.client->state();
    s.Seats[2].AccountName = "bob";
    s.Profiles[2].NickName = "Bob";
    s.SeatedCount = 2;
    s.GameCount = 3;
    h.client->LeaveToLobby();
    EXPECT_FALSE(QFile::exists(dir.path() + "/info.mv"));
    EXPECT_TRUE(s.Seats[2].AccountName.isEmpty());
    EXPECT_TRUE(s.Profiles[2].NickName.isEmpty());
    EXPECT_EQ(s.Seats[0].SeatBit, 0);
    EXPECT_EQ(s.SeatedCount, 0);
    EXPECT_EQ(s.GameCount, 0);
    EXPECT_FALSE(s.LoginPending);
    EXPECT_TRUE(s.ToolbarUsed[2]);
    EXPECT_TRUE(h.client->form().AnNiu[2]->isEnabled());
    EXPECT_EQ(h.client->form().AnNiu[2]->PictureId(), h.client->pictureTables().ToolbarPictures[4]);
    EXPECT_EQ(h.client->transport().ReceiveRing.Pending(), 0);
    EXPECT_TRUE(h.client->form().Sysmsg[0]->Items().isEmpty());
}

TEST(Leave, NextHandResetKeepsInboundFrames) {
    LoggedIn h;
    Transport& t = h.client->transport();
    const PacketFrame start = ServerFrame(kGameStart);
    h.socket.Deliver(start);
    h.socket.Deliver(start.data(), 100);  // the first bytes of the next one
    PacketFrame alive = h.client->GameFrame(kKeepAlive);
    t.SendFrame(alive);
    h.client->ResetTableView();
    h.client->ResetForNextHand();
    EXPECT_EQ(t.ReceiveRing.Pending(), kFrameSize + 100);
    EXPECT_EQ(t.SendRing.Pending(), 0);  // unsent frames go
    EXPECT_EQ(h.client->state().ActiveCount, 4);
    EXPECT_EQ(h.client->state().Seats[1].Cards[12].ImageIndex, -1);
}
