#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "ClientHarness.h"
#include "platform/Gbk.h"
#include "results/ResultWindows.h"
#include "session/core/IniFile.h"
#include "table/ExitWindows.h"
#include "table/MainForm.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

// Logged in as seat 4 (the server's third seat); others at 8, 1 and 2.
struct Seated : ClientHarness {
    Seated() {
        desktop.folder = dir.path();
        EXPECT_TRUE(Start());
        LogIn();
        lobby.posted.clear();
    }
    void Join(const Player& p) { EXPECT_TRUE(Call([&] { client->DispatchFrame(UserInfoFrame(4, p)); })); }
    void FillTable() {
        Join({4, "me", QString::fromUtf8("我"), "m2", "新手", "童生", 45000});
        Join({8, "left", QString::fromUtf8("左"), "w3"});
        Join({1, "top", QString::fromUtf8("上"), "m10"});
        Join({2, "right", QString::fromUtf8("右"), "m11"});
    }
    MainForm& f() { return client->form(); }
    TableState& s() { return client->state(); }
    QTemporaryDir dir;
};

PacketFrame Named(uint8_t type, const char* account, uint8_t b15 = 0) {
    PacketFrame f = ServerFrame(type);
    f[15] = b15;
    std::copy(account, account + std::strlen(account), f.begin() + 16);
    return f;
}

}  // namespace

TEST(UserInfo, FirstFrameFixesTheLocalSeatAndFillsPositions) {
    Seated h;
    h.Join({4, "me", QString::fromUtf8("我"), "m2", QString::fromUtf8("新手"), QString::fromUtf8("童生"), 45000});
    EXPECT_EQ(h.s().Seats[0].SeatBit, 4);
    EXPECT_EQ(h.s().Seats[0].AccountName, "me");
    EXPECT_FALSE(h.s().ToolbarUsed[2]);
    EXPECT_EQ(h.f().Nid[0]->Caption(), QString::fromUtf8("[新手] 我"));
    EXPECT_EQ(h.f().Cash[0]->Caption(), QString::fromUtf8("45000金币"));
    EXPECT_EQ(h.f().Level[0]->Caption(), QString::fromUtf8("童生"));
    EXPECT_EQ(h.client->Score().ID[0]->Caption(), QString::fromUtf8("我"));
    h.Join({1, "top", "Top", "w1"});
    EXPECT_EQ(h.s().Seats[2].AccountName, "top");  // seat 1 is opposite seat 4
    EXPECT_EQ(h.s().Seats[2].SeatBit, 1);
    EXPECT_EQ(h.f().Cash[2]->Caption(), QString::fromUtf8("********金币"));
    EXPECT_TRUE(h.peers.requests.empty());  // no relay login yet: the catch-up will ask
    EXPECT_EQ(h.s().SeatedCount, 2);
    h.Join({1, "top", "Again", "w1"});  // the same player again changes nothing
    EXPECT_EQ(h.s().SeatedCount, 2);
    EXPECT_EQ(h.s().Profiles[2].NickName, "Top");
}

TEST(UserInfo, TheFourthPlayerFillsTheTable) {
    Seated h;
    h.FillTable();
    EXPECT_EQ(h.s().SeatedCount, 4);
    EXPECT_TRUE(h.s().TableArmed);
    EXPECT_FALSE(h.f().isMinimized());
    EXPECT_EQ(h.lobby.Codes().front(), kScMinimize);
    EXPECT_EQ(h.f().Sysmsg[0]->Items(), QStringList{QString::fromUtf8("游戏将在15秒内开始")});
    EXPECT_FALSE(h.s().ToolbarUsed[5]);
}

TEST(UserInfo, AvatarsAndReadyMarks) {
    const struct {
        const char* face;
        int avatar;
    } faces[] = {{"w3", 12}, {"m10", 9}, {"m11", 0}, {"m", 0}, {"w", 10}, {"m1", 0}, {"w10", 19}};
    for (const auto& c : faces) {
        Seated h;
        h.Join({4, "me", "Me", c.face});
        EXPECT_EQ(h.f().Tou[0]->PictureId(), 240 + c.avatar) << c.face;
    }
    for (const char* bad : {"mx", "m0", "w1x"}) {
        Seated h;
        EXPECT_FALSE(h.Call([&] { h.client->DispatchFrame(UserInfoFrame(4, {4, "me", "Me", bad})); })) << bad;
        EXPECT_EQ(h.lobby.Codes(), std::vector<uint32_t>{kScRestore}) << bad;
    }
    const struct {
        double coins;
        int picture;
    } marks[] = {{19999, 280}, {20000, 281}, {59999, 281}, {60000, 282}};
    for (const auto& c : marks) {
        Seated h;
        Player p{4, "me", "Me", "m1"};
        p.coins = c.coins;
        p.ready = true;
        h.Join(p);
        EXPECT_EQ(h.f().OK[0]->PictureId(), c.picture) << c.coins;
        EXPECT_TRUE(h.f().OK[0]->isVisibleTo(h.f().Pic1));
    }
}

TEST(UserQuit, RemovesThePlayerWithAMessage) {
    Seated h;
    h.FillTable();
    h.peers.users[1] = "top";  // the leaver's video slot
    h.client->DispatchFrame(Named(kUserQuit, "top"));
    EXPECT_EQ(h.s().SeatedCount, 3);
    EXPECT_FALSE(h.s().TableArmed);
    EXPECT_TRUE(h.s().Seats[2].AccountName.isEmpty());
    EXPECT_TRUE(h.f().Nid[2]->Caption().isEmpty());
    EXPECT_EQ(h.f().Tou[2]->PictureId(), 0);
    ASSERT_EQ(h.f().Sysmsg[0]->Items().size(), 1);
    EXPECT_TRUE(QRegularExpression(QString::fromUtf8("^上退出了游戏 \\d{1,2}:\\d{1,2}:\\d{1,2}$"))
                    .match(h.f().Sysmsg[0]->Items()[0]).hasMatch()) << h.f().Sysmsg[0]->Items()[0].toStdString();
    EXPECT_EQ(h.peers.closes, std::vector<int>{1});
    h.client->DispatchFrame(Named(kUserQuit, "nobody"));  // not at the table
    EXPECT_EQ(h.s().SeatedCount, 3);
    EXPECT_FALSE(h.Call([&] { h.client->DispatchFrame(Named(kUserQuit, "me")); }));
}

TEST(ReadyNotice, MarksAndTheThirdOneArmsTheTable) {
    Seated h;
    h.FillTable();
    h.s().TableArmed = false;
    h.client->DispatchFrame(Named(kReadyNotice, "left", 0));  // not 1: nothing
    EXPECT_FALSE(h.f().OK[1]->isVisibleTo(h.f().Pic1));
    for (const char* who : {"left", "top"}) h.client->DispatchFrame(Named(kReadyNotice, who, 1));
    EXPECT_TRUE(h.f().OK[1]->isVisibleTo(h.f().Pic1));
    EXPECT_FALSE(h.s().TableArmed);
    h.client->DispatchFrame(Named(kReadyNotice, "right", 1));
    EXPECT_TRUE(h.s().TableArmed);
    EXPECT_TRUE(h.s().ToolbarUsed[2]);
    EXPECT_EQ(h.f().AnNiu[2]->PictureId(), h.client->pictureTables().ToolbarPictures[6]);
}

// Logged in at local seat 1 with 小红 at seat 2 (Remote1).
void SeatTwo(ClientHarness& h) {
    ASSERT_TRUE(h.Start());
    h.LogIn();
    h.client->DispatchFrame(UserInfoFrame(1, {1, "me", "Me"}));
    h.client->DispatchFrame(UserInfoFrame(1, {2, "r1", QString::fromUtf8("小红")}));
}

TEST(TableEnd, PlayersLeft) {
    // Local seat bit 1: seat 2 left, the one shown at Remote1.
    ClientHarness h;
    SeatTwo(h);
    PacketFrame end = ServerFrame(kReadyOrLeave);
    end[15] = 1;
    end[6] = 0x0D;
    ASSERT_TRUE(h.Call([&] { h.client->DispatchFrame(end); }));
    EXPECT_TRUE(h.client->state().TableClosed);
    EXPECT_EQ(h.client->frmOtherExit().Label1->Caption(), QString::fromUtf8("玩家小红退出了游戏！游戏结束！"));
    EXPECT_TRUE(h.client->frmOtherExit().isVisible());
    EXPECT_EQ(h.socket.State(), kSocketClosed);
    EXPECT_FALSE(h.client->PumpRunning());
    end[6] = 0x0F;  // every seat remains: nothing
    ClientHarness all;
    ASSERT_TRUE(all.Start());
    all.LogIn();
    all.client->DispatchFrame(end);
    EXPECT_FALSE(all.client->state().TableClosed);
}

TEST(TableEnd, CoinShortageTexts) {
    const struct {
        uint8_t remain;
        const char* text;
    } cases[] = {
        {0x0C, "小红以及您的金币不够，退出游戏！游戏结束！"},  // seats 1 (me) and 2 out
        {0x0E, "您的金币不够，退出游戏！游戏结束！"},          // only me
        {0x0D, "小红的金币不够，退出游戏！游戏结束！"},        // only seat 2
    };
    for (const auto& c : cases) {
        ClientHarness h;
        SeatTwo(h);
        PacketFrame end = ServerFrame(kReadyOrLeave);
        end[15] = 3;
        end[6] = c.remain;
        const double before = h.loop.Now();
        ASSERT_TRUE(h.Call([&] { h.client->DispatchFrame(end); }));
        EXPECT_EQ(h.client->frmOtherExit().Label1->Caption(), QString::fromUtf8(c.text));
        EXPECT_NEAR(h.loop.Now() - before, 4.4, 0.01);  // two 2 s pauses, then the 0.4 s quit wait
        EXPECT_TRUE(h.client->Score().isVisible());
    }
}

TEST(TableNotice, ShowsTheServersText) {
    Seated h;
    h.FillTable();
    PacketFrame notice = ServerFrame(kTableNotice);
    const std::string text = gbk::Encode(QString::fromUtf8("服务器维护，本桌关闭"));
    std::copy(text.begin(), text.end(), notice.begin() + 16);
    h.client->DispatchFrame(notice);
    EXPECT_EQ(h.client->frmOtherExit().Label1->Caption(), QString::fromUtf8("服务器维护，本桌关闭"));
    EXPECT_TRUE(h.s().Seats[1].AccountName.isEmpty());
    EXPECT_EQ(h.s().Seats[0].AccountName, "me");
    EXPECT_EQ(h.s().SeatedCount, 0);
    // The next press of continue leaves the table.
    h.client->OtherExitCancel();
    h.client->OnToolbarClick(2);
    EXPECT_TRUE(h.f().isMinimized());
    EXPECT_EQ(h.lobby.Codes().back(), kScRestore);
}
