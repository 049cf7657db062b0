#include <gtest/gtest.h>

#include <stdexcept>

#include "ClientHarness.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"

using namespace sorvik;
using namespace sorvik::test;

TEST(Dispatcher, SessionTagFromEveryFrameButTheReconnectReply) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    PacketFrame other = ServerFrame(2);
    other[260] = 0xAB;
    other[261] = 0xCD;
    h.client->DispatchFrame(other);
    EXPECT_EQ(h.client->transport().SessionTag, (std::array<uint8_t, 2>{0xAB, 0xCD}));
    PacketFrame reply = ServerFrame(kReconnectReply);
    reply[15] = 1;
    reply[260] = 0x11;
    h.client->DispatchFrame(reply);
    EXPECT_EQ(h.client->transport().SessionTag, (std::array<uint8_t, 2>{0xAB, 0xCD}));
    EXPECT_TRUE(h.client->state().Reconnected);
    EXPECT_FALSE(h.desktop.ended);
}

TEST(Dispatcher, AFaultRestoresTheLobbyAndEndsTheProgram) {
    for (int kind = 0; kind < 2; ++kind) {
        ClientHarness h;
        ASSERT_TRUE(h.Start());
        h.LogIn();
        h.lobby.posted.clear();
        h.socket.raw.clear();
        EXPECT_FALSE(h.Call([&] {
            h.client->RunGuarded([&] {
                if (kind == 0) throw DispatchFault("bad field");
                (void)std::array<int, 4>{}.at(static_cast<size_t>(7));
            });
        }));
        EXPECT_TRUE(h.desktop.ended);
        ASSERT_EQ(h.lobby.posted.size(), 1u);
        EXPECT_EQ(std::get<1>(h.lobby.posted[0]), kScRestore);
        EXPECT_TRUE(h.socket.raw.empty());  // no leave frame
        EXPECT_TRUE(h.desktop.boxes.empty());
    }
}

TEST(LoginReply, Accepted) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.Connect();
    h.lobby.posted.clear();
    h.client->ShowExitMessage("old notice");
    h.client->state().TableClosed = true;
    PacketFrame reply = ServerFrame(kLogin);
    reply[15] = 1;
    reply[9] = 0x5A;
    reply[11] = 12;
    const char url[] = "http://127.0.0.1/news";
    std::copy(url, url + sizeof url - 1, reply.begin() + 16);
    h.client->DispatchFrame(reply);
    const TableState& s = h.client->state();
    EXPECT_TRUE(s.LoginAccepted);
    EXPECT_FALSE(s.LoginPending);
    EXPECT_FALSE(s.TableClosed);
    EXPECT_TRUE(h.client->KeepAliveRunning());
    EXPECT_FALSE(h.client->frmOtherExit().isVisible());
    EXPECT_EQ(s.ServerOption9, 0x5A);
    EXPECT_EQ(s.CountdownReload, 12);
    EXPECT_EQ(s.NewsUrl, "http://127.0.0.1/news");
    EXPECT_EQ(h.lobby.Codes(), std::vector<uint32_t>{kLobbyConnected});
    EXPECT_EQ(h.client->form().Sysmsg[0]->Items(), QStringList{QString::fromUtf8("连接服务器成功！")});
    EXPECT_EQ(h.client->form().Sysmsg[1]->Items().size(), 1);

    ClientHarness boss;  // the boss key keeps the countdown short
    ASSERT_TRUE(boss.Start());
    boss.client->state().BossKeyActive = true;
    boss.client->DispatchFrame(reply);
    EXPECT_EQ(boss.client->state().CountdownReload, 2);
}

TEST(LoginReply, RefusedEndsTheProgramWithTheReason) {
    const struct {
        uint8_t result;
        const char* text;
    } cases[] = {{2, "启动游戏失败，请检查您的防火墙，并重新在大厅就座后进入游戏！"},
                 {0, "验证错误，请重新在大厅就座后进入游戏！"},
                 {7, "验证错误，请重新在大厅就座后进入游戏！"}};
    for (const auto& c : cases) {
        ClientHarness h;
        ASSERT_TRUE(h.Start());
        h.Connect();
        h.lobby.posted.clear();
        PacketFrame reply = ServerFrame(kLogin);
        reply[15] = c.result;
        EXPECT_FALSE(h.Call([&] { h.client->DispatchFrame(reply); }));
        EXPECT_EQ(h.client->form().Sysmsg[0]->Items(), QStringList{QString::fromUtf8(c.text)});
        EXPECT_EQ(h.lobby.Codes(), (std::vector<uint32_t>{kLobbyReconnect, kScRestore}));
        EXPECT_FALSE(h.client->state().LoginAccepted);
    }
}

TEST(ReconnectReply, AcceptedOrRefused) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    PacketFrame reply = ServerFrame(kReconnectReply);
    reply[15] = 1;
    h.client->DispatchFrame(reply);
    EXPECT_TRUE(h.client->state().LoginAccepted);
    EXPECT_EQ(h.client->form().Sysmsg[0]->Items(),
              QStringList{QString::fromUtf8("正在重连服务器，请等待...！")});

    ClientHarness refused;
    ASSERT_TRUE(refused.Start());
    reply[15] = 0;
    EXPECT_FALSE(refused.Call([&] { refused.client->DispatchFrame(reply); }));
    ASSERT_EQ(refused.desktop.boxes.size(), 1u);
    EXPECT_EQ(refused.desktop.boxes[0].first, QString::fromUtf8("重连服务器失败，退出后请重新入座！"));
    EXPECT_EQ(refused.lobby.Codes(), std::vector<uint32_t>{kScRestore});
}

TEST(ReceiveOverflow, EndsTheProgramAfterRestoringTheLobby) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    h.LogIn();
    h.lobby.posted.clear();
    std::vector<uint8_t> flood(kRingSize - 1, 0);
    ASSERT_TRUE(h.Call([&] { h.socket.Deliver(flood.data(), flood.size()); }));
    const uint8_t one = 0;
    EXPECT_FALSE(h.Call([&] { h.socket.Deliver(&one, 1); }));
    EXPECT_EQ(h.lobby.Codes(), std::vector<uint32_t>{kScRestore});
}
