#include <gtest/gtest.h>

#include "ClientHarness.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

PacketFrame Tagged(uint8_t type, uint8_t tag) {
    PacketFrame f = ServerFrame(type);
    f[260] = tag;
    f[261] = static_cast<uint8_t>(tag + 1);
    return f;
}

}  // namespace

TEST(Pump, ConnectsThenSendsTheLoginFrameDirectly) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.loop.RunFor(0.15);  // the connect slot waits four ticks
    EXPECT_TRUE(h.socket.raw.empty());
    h.Connect();
    ASSERT_EQ(h.socket.Frames().size(), 1u);
    EXPECT_EQ(h.socket.Frames()[0], h.client->loginFrame());
    EXPECT_EQ(h.lobby.Codes(), (std::vector<uint32_t>{kLobbyReconnect, kLobbyConnected}));
    EXPECT_TRUE(h.client->transport().Slots.ExitClock.Armed);
    EXPECT_FALSE(h.client->transport().Slots.ConnectSlot.Armed);
}

TEST(Pump, QueuedFramesLeaveOnePerTick) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.LogIn();
    h.socket.raw.clear();
    h.socket.sendTimes.clear();
    for (uint8_t i = 0; i < 3; ++i) {
        PacketFrame f = h.client->GameFrame(kActionFrame);
        f[9] = i;
        h.client->transport().SendFrame(f);
    }
    ASSERT_TRUE(h.Run(0.2));
    ASSERT_EQ(h.socket.Frames().size(), 3u);
    for (uint8_t i = 0; i < 3; ++i) EXPECT_EQ(h.socket.Frames()[i][9], i);
    EXPECT_NEAR(h.socket.sendTimes[1] - h.socket.sendTimes[0], 0.05, 1e-9);
    EXPECT_NEAR(h.socket.sendTimes[2] - h.socket.sendTimes[1], 0.05, 1e-9);
}

TEST(Pump, ReceivedFramesAreDispatchedOnePerTickInOrder) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.LogIn();
    std::string block;
    for (uint8_t i = 0; i < 5; ++i) {
        const PacketFrame f = Tagged(2, static_cast<uint8_t>(10 * (i + 1)));
        block.append(reinterpret_cast<const char*>(f.data()), f.size());
    }
    h.socket.Deliver(reinterpret_cast<const uint8_t*>(block.data()), block.size());
    auto& t = h.client->transport();
    h.loop.RunFor(0.1);  // the first one within two ticks
    EXPECT_EQ(t.SessionTag[0], 10);
    for (uint8_t i = 1; i < 5; ++i) {
        h.loop.RunFor(0.05);
        EXPECT_EQ(t.SessionTag[0], 10 * (i + 1));
        EXPECT_EQ(t.SessionTag[1], 10 * (i + 1) + 1);
    }
    EXPECT_EQ(t.ReceiveRing.Pending(), 0);
}

TEST(Pump, KeepAliveCarriesTheSeatAndNoTag) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.LogIn();
    h.client->state().Seats[0].SeatBit = 4;
    h.socket.Deliver(Tagged(2, 0x77));  // the server's tag must not go back out
    h.socket.raw.clear();
    ASSERT_TRUE(h.Run(10.1));
    const auto alive = h.socket.FramesOfType(kKeepAlive);
    ASSERT_EQ(alive.size(), 2u);
    EXPECT_EQ(alive[0][6], 4);
    EXPECT_EQ(alive[0][260], 0);
    EXPECT_EQ(alive[0][261], 0);
    EXPECT_EQ(h.client->transport().SessionTag[0], 0x77);
}

TEST(Pump, LeaveFrameRestoresTheLobbyInItsTick) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.LogIn();
    h.lobby.posted.clear();
    PacketFrame leave = h.client->GameFrame(kReadyOrLeave);
    h.client->transport().SendFrame(leave);
    ASSERT_TRUE(h.Run(0.05));
    ASSERT_EQ(h.socket.FramesOfType(kReadyOrLeave).size(), 1u);
    EXPECT_TRUE(h.client->form().isMinimized());
    ASSERT_EQ(h.lobby.posted.size(), 1u);
    EXPECT_EQ(std::get<1>(h.lobby.posted[0]), kScRestore);

    ClientHarness gone;  // without a lobby the program ends right after sending
    ASSERT_TRUE(gone.Start());
    gone.LogIn();
    gone.lobby.lobbyPresent = false;
    PacketFrame leave2 = gone.client->GameFrame(kReadyOrLeave);
    gone.client->transport().SendFrame(leave2);
    EXPECT_FALSE(gone.Run(0.05));
    EXPECT_EQ(gone.socket.FramesOfType(kReadyOrLeave).size(), 1u);
}

TEST(Pump, TurnCountdownAndTimeout) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.LogIn();
    TableState& s = h.client->state();
    s.TurnSeconds = 15;
    s.MyTurn = true;
    s.TurnClockLast = h.loop.Now();
    h.client->transport().Slots.TurnClock.Arm();
    h.client->form().Number->show();
    h.socket.raw.clear();
    for (int expected = 14; expected >= 0; --expected) {
        h.loop.RunFor(1.0);
        EXPECT_EQ(h.client->form().Number->Caption(), QString::number(expected));
        const QColor c = h.client->form().Number->palette().color(QPalette::WindowText);
        EXPECT_EQ(c == QColor(255, 0, 0), expected < 6) << expected;
    }
    EXPECT_TRUE(h.client->form().Number->isVisible());
    h.loop.RunFor(1.0);  // one second after 0 the turn runs out
    EXPECT_FALSE(h.client->form().Number->isVisible());
    EXPECT_FALSE(h.client->transport().Slots.TurnClock.Armed);
    EXPECT_EQ(s.TurnSeconds, s.CountdownReload);
    EXPECT_FALSE(s.MyTurn);
    h.loop.RunFor(0.1);
    const auto actions = h.socket.FramesOfType(kActionFrame);
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0][9], 1);  // gave up
}

TEST(Pump, StartCountdownSendsOneReadyFrame) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.LogIn();
    TableState& s = h.client->state();
    s.Seats[0].SeatBit = 2;
    s.TurnSeconds = 15;
    s.StartClockLast = h.loop.Now();
    h.client->transport().Slots.StartClock.Arm();
    h.socket.raw.clear();
    ASSERT_TRUE(h.Run(15.5));
    EXPECT_TRUE(h.socket.FramesOfType(kReadyOrLeave).empty());
    ASSERT_TRUE(h.Run(5));
    const auto ready = h.socket.FramesOfType(kReadyOrLeave);
    ASSERT_EQ(ready.size(), 1u);
    EXPECT_EQ(ready[0][15], 1);
    EXPECT_EQ(ready[0][6], 2);
    EXPECT_FALSE(h.client->transport().Slots.StartClock.Armed);
    EXPECT_TRUE(s.TableArmed);
    EXPECT_TRUE(s.ToolbarUsed[2]);
    EXPECT_FALSE(h.client->form().AnNiu[2]->isEnabled());
}

TEST(Pump, SilenceDuringAHandLeavesAfter5000EmptySteps) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.LogIn();
    h.client->state().GameRunning = true;
    h.socket.Deliver(ServerFrame(2));  // arms the receive slot
    ASSERT_TRUE(h.Run(499.9));
    EXPECT_FALSE(h.client->form().isMinimized());
    EXPECT_TRUE(h.client->state().GameRunning);
    ASSERT_TRUE(h.Run(0.2));
    EXPECT_TRUE(h.client->form().isMinimized());
    EXPECT_FALSE(h.client->state().GameRunning);
    EXPECT_EQ(h.socket.State(), kSocketClosed);
    EXPECT_EQ(h.client->form().Sysmsg[0]->Items(),
              QStringList{QString::fromUtf8("已经与服务器断开连接，请重新入座！")});
    EXPECT_FALSE(h.desktop.ended);
}

TEST(Pump, LostLinkBetweenHandsGoesBackToTheLobby) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.LogIn();
    h.lobby.posted.clear();
    h.socket.PeerClose();
    ASSERT_TRUE(h.Run(0.2));
    EXPECT_TRUE(h.client->form().isMinimized());
    ASSERT_FALSE(h.lobby.posted.empty());
    EXPECT_EQ(std::get<1>(h.lobby.posted[0]), kScRestore);
    EXPECT_FALSE(h.client->PumpRunning());
    EXPECT_FALSE(h.client->ReconnectRunning());
}

TEST(Pump, LostLinkDuringAHandStartsReconnecting) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.LogIn();
    h.client->state().GameRunning = true;
    h.socket.PeerClose();
    ASSERT_TRUE(h.Run(0.2));
    EXPECT_FALSE(h.client->form().isMinimized());
    EXPECT_FALSE(h.client->state().LoginAccepted);
    EXPECT_TRUE(h.client->KeepAliveRunning());
    EXPECT_TRUE(h.client->ReconnectRunning());
    EXPECT_TRUE(h.client->PumpRunning());
}

TEST(Pump, ConnectWaitGivesUpAfter30Seconds) {
    ClientHarness h;
    h.socket.acceptAfterMs = -1;  // the server never answers
    ASSERT_TRUE(h.Start());
    // The wait runs inside the pump's tick 200 ms after the connect call.
    ASSERT_TRUE(h.Call([&] {
        h.loop.RunUntil([&] { return h.client->form().isMinimized(); }, 60);
    }));
    EXPECT_NEAR(h.loop.Now(), 30.2, 0.051);
    EXPECT_FALSE(h.client->PumpRunning());
    EXPECT_EQ(h.client->form().Sysmsg[0]->Items(),
              QStringList{QString::fromUtf8("连接服务器超时，请重新入座！")});
    EXPECT_TRUE(h.socket.raw.empty());
    // The lobby can send the client to the table again.
    h.socket.acceptAfterMs = 0;
    h.lobby.SendToClient(kLobbyReconnect);
    h.Connect();
    EXPECT_EQ(h.socket.Frames().size(), 1u);
}
