#include <gtest/gtest.h>

#include "ClientHarness.h"
#include "table/MainForm.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

const uint32_t kRestore = kScRestore;

}  // namespace

TEST(Startup, DirectConnectionWithTheFixedLobbyTitle) {
    ClientHarness h;
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(h.socket.host_, "127.0.0.7");
    EXPECT_EQ(h.socket.port_, 9000);
    EXPECT_EQ(h.socket.connects, 1);
    EXPECT_TRUE(h.client->PumpRunning());
    EXPECT_TRUE(h.client->transport().Slots.ConnectSlot.Armed);
    EXPECT_EQ(h.client->lobbyTitle(), QString::fromUtf8("Morvel山庄"));
    EXPECT_EQ(h.lobby.registered, "Sorvik");
    EXPECT_EQ(h.client->form().Sysmsg[0]->Items(), QStringList{QString::fromUtf8("正在连接服务器...")});
    EXPECT_TRUE(h.client->parameters().LoginKey.isEmpty());  // the key lives only in the frame
    EXPECT_EQ(h.client->loginFrame()[32], 'k');
    EXPECT_EQ(h.client->state().Seats[0].SeatBit, 0);
    EXPECT_TRUE(h.client->state().ToolbarUsed[2]);  // start locked until released
    EXPECT_TRUE(h.lobby.posted.empty());
}

TEST(Startup, WindowSizeAndLayoutScaleFollowTheScreen) {
    const struct {
        QSize screen;
        QSize window;
        double scale;
    } cases[] = {{{1280, 1024}, {1040, 796}, 1.0},
                 {{1024, 768}, {1024, 768}, 1.0},
                 {{800, 600}, {800, 600}, 0.78125},
                 {{1280, 720}, {1040, 720}, 0.78125}};
    for (const auto& c : cases) {
        ClientHarness h;
        h.desktop.screen = c.screen;
        ASSERT_TRUE(h.Start());
        EXPECT_EQ(h.client->form().size(), c.window) << c.screen.width();
        EXPECT_EQ(h.client->scale().ScaleX, c.scale) << c.screen.width();
        EXPECT_EQ(h.client->scale().ScaleY, c.scale) << c.screen.width();
    }
    ClientHarness compact;
    compact.desktop.screen = {800, 600};
    ASSERT_TRUE(compact.Start());
    EXPECT_NEAR(compact.client->form().AnNiu[0]->Left(), 447.66, 0.01);
    EXPECT_NEAR(compact.client->form().AnNiu[0]->Top(), 570.31, 0.01);
    EXPECT_EQ(compact.client->pictureTables().ToolbarPictures[4], 285);
}

TEST(Startup, EmptyLineAndSecondInstanceShowAWarning) {
    ClientHarness empty;
    EXPECT_FALSE(empty.Start("   "));
    ASSERT_EQ(empty.desktop.boxes.size(), 1u);
    EXPECT_EQ(empty.desktop.boxes[0].first, QString::fromUtf8("本游戏需从游戏大厅中启动！"));
    EXPECT_EQ(empty.desktop.boxes[0].second, QString::fromUtf8("警告"));
    EXPECT_EQ(empty.socket.connects, 0);

    ClientHarness second;
    second.lobby.otherInstance = true;
    EXPECT_FALSE(second.Start());
    ASSERT_EQ(second.desktop.boxes.size(), 1u);
    EXPECT_EQ(second.desktop.boxes[0].first, QString::fromUtf8("Sorvik已经运行！"));
    EXPECT_EQ(second.socket.connects, 0);
}

TEST(Startup, BadLinesEndSilentlyAndRestoreTheLobbyWhenItsTitleIsKnown) {
    const QString good = LineFields().Join();
    LineFields doubleByteName;
    doubleByteName.user = QString::fromUtf8("张三");
    LineFields bigPort;
    bigPort.port = "32768";
    LineFields emptyPort;
    emptyPort.port = "";
    QString twelve = good;
    twelve.chop(1);
    twelve = twelve.left(twelve.lastIndexOf('$') + 1);
    const struct {
        const char* what;
        QString line;
        bool restored;
    } cases[] = {
        {"no final $", good.left(good.size() - 1), true},
        {"12 fields", twelve, true},
        {"double-byte user name", doubleByteName.Join(), true},
        {"port 32768", bigPort.Join(), false},
        {"empty port", emptyPort.Join(), false},
    };
    for (const auto& c : cases) {
        ClientHarness h;
        EXPECT_FALSE(h.Start(c.line)) << c.what;
        EXPECT_TRUE(h.desktop.boxes.empty()) << c.what;
        EXPECT_EQ(h.socket.connects, 0) << c.what;
        const bool restored =
            !h.lobby.posted.empty() && std::get<1>(h.lobby.posted[0]) == kRestore;
        EXPECT_EQ(restored, c.restored) << c.what;
    }
}

TEST(Startup, CustomTitles) {
    LineFields f;
    f.customTitles = "01";
    f.lobbyTitle = "My Lobby";
    f.caption = "Table 7";
    ClientHarness h;
    h.lobby.lobbyTitle = "My Lobby";
    ASSERT_TRUE(h.Start(f.Join()));
    EXPECT_EQ(h.client->lobbyTitle(), "My Lobby");
    EXPECT_EQ(h.client->form().windowTitle(), "Table 7");
    EXPECT_EQ(h.lobby.registered, "Table 7");

    f.customTitles = "2";
    ClientHarness fixed;
    ASSERT_TRUE(fixed.Start(f.Join()));
    EXPECT_EQ(fixed.client->lobbyTitle(), QString::fromUtf8("Morvel山庄"));
    EXPECT_EQ(fixed.client->form().windowTitle(), "Sorvik");
}

TEST(Startup, UnknownProxyTypeMakesNoConnection) {
    LineFields f;
    f.proxyType = "3";
    ClientHarness h;
    ASSERT_TRUE(h.Start(f.Join()));
    ASSERT_TRUE(h.Run(10));
    EXPECT_EQ(h.socket.connects, 0);
    EXPECT_EQ(h.client->form().Sysmsg[0]->Items(), QStringList{QString::fromUtf8("正在连接服务器...")});
    EXPECT_FALSE(h.desktop.ended);
}

TEST(Startup, LongLocationShrinksItsFont) {
    int sizes[2];
    for (int i = 0; i < 2; ++i) {
        LineFields f;
        f.location = QString(10 + i, QChar(0x4E2D));
        ClientHarness h;
        ASSERT_TRUE(h.Start(f.Join()));
        EXPECT_EQ(h.client->form().Location->Caption(), f.location);
        sizes[i] = h.client->form().Location->font().pointSize();
    }
    EXPECT_EQ(sizes[1], sizes[0] - 2);
}
