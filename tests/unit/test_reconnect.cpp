#include <gtest/gtest.h>

#include "ClientHarness.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

// Logged in, a hand running, the server's last tag 0x12 0x34, then the link drops.
struct DroppedDuringAHand : ClientHarness {
    DroppedDuringAHand() {
        EXPECT_TRUE(Start());
        LogIn();
        PacketFrame tagged = ServerFrame(2);
        tagged[260] = 0x12;
        tagged[261] = 0x34;
        socket.Deliver(tagged);
        loop.RunFor(0.2);
        client->state().GameRunning = true;
        socket.refuse = true;
        socket.PeerClose();
        lostAt = loop.Now();
        loop.RunFor(0.2);  // the link watch notices
        socket.raw.clear();
    }
    double lostAt = 0;
};

}  // namespace

TEST(Reconnect, GetsBackInWithTheMarkedLoginFrame) {
    DroppedDuringAHand h;
    h.loop.SingleShot(5000, [&] { h.socket.refuse = false; });  // reachable after 5 s
    ASSERT_TRUE(h.Call([&] {
        h.loop.RunUntil([&] { return !h.socket.raw.empty(); }, 20);
    }));
    EXPECT_NEAR(h.loop.Now() - h.lostAt, 6.0, 0.31);  // the attempt at 6 s connects
    ASSERT_EQ(h.socket.Frames().size(), 1u);
    const PacketFrame login = h.socket.Frames()[0];
    EXPECT_EQ(login[3], 18);
    EXPECT_EQ(login[4], 28);
    EXPECT_EQ(login[261], 0x12);
    EXPECT_EQ(login[262], 0x34);
    EXPECT_EQ(login[16], 'a');
    EXPECT_EQ(h.client->state().ReconnectAttempts, 2);
    EXPECT_EQ(h.client->form().Sysmsg[0]->Items(),
              QStringList{QString::fromUtf8("正在重新连接服务器...")});
    ASSERT_TRUE(h.Run(3.1));
    EXPECT_FALSE(h.client->ReconnectRunning());  // unloaded at the next tick
    PacketFrame reply = ServerFrame(kReconnectReply);
    reply[15] = 1;
    h.socket.Deliver(reply);
    ASSERT_TRUE(h.Run(0.2));
    EXPECT_TRUE(h.client->state().LoginAccepted);
    EXPECT_TRUE(h.client->state().Reconnected);
    // Later connections of the run keep the marks.
    EXPECT_EQ(h.client->loginFrame()[4], 28);
}

TEST(Reconnect, GivesUpAfter21Attempts) {
    DroppedDuringAHand h;
    ASSERT_TRUE(h.Call([&] {
        h.loop.RunUntil([&] { return h.client->form().isMinimized(); }, 120);
    }));
    EXPECT_NEAR(h.loop.Now() - h.lostAt, 66.0, 0.31);
    EXPECT_EQ(h.socket.connects, 1 + 21);
    EXPECT_FALSE(h.client->ReconnectRunning());
    EXPECT_TRUE(h.client->frmOtherExit().isVisible());
    EXPECT_EQ(h.client->frmOtherExit().Label1->Caption(),
              QString::fromUtf8("网络已断开,请退出大厅重新登陆游戏"));
    ASSERT_FALSE(h.lobby.posted.empty());
    EXPECT_EQ(std::get<1>(h.lobby.posted.back()), kScRestore);
    const int connects = h.socket.connects;
    ASSERT_TRUE(h.Run(30));
    EXPECT_EQ(h.socket.connects, connects);
}

TEST(Reconnect, StopsWhenTheHandEndsMeanwhile) {
    DroppedDuringAHand h;
    int attemptsWhenItEnded = -1;
    h.loop.SingleShot(4000, [&] {  // the server's end of the table, say
        attemptsWhenItEnded = h.client->state().ReconnectAttempts;
        h.client->state().GameRunning = false;
    });
    bool runningAfter = true;
    int attemptsAfter = -1, connectsAfter = -1;
    h.loop.SingleShot(6500, [&] {  // the tick at 6 s found the hand over
        runningAfter = h.client->ReconnectRunning();
        attemptsAfter = h.client->state().ReconnectAttempts;
        connectsAfter = h.socket.connects;
    });
    ASSERT_TRUE(h.Run(7));
    EXPECT_EQ(attemptsWhenItEnded, 1);
    EXPECT_FALSE(runningAfter);
    EXPECT_EQ(attemptsAfter, 1);
    EXPECT_EQ(connectsAfter, 2);
}

TEST(Reconnect, AnAttemptDropsTheCutOffFrame) {
    DroppedDuringAHand h;
    const PacketFrame half = ServerFrame(kGameStart);
    h.socket.Deliver(half.data(), 100);
    ASSERT_TRUE(h.Run(3.1));
    EXPECT_EQ(h.client->transport().ReceiveRing.Pending(), 0);
}
