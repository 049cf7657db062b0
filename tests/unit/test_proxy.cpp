#include <gtest/gtest.h>

#include "ClientHarness.h"
#include "table/MainForm.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

std::string Bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s.push_back(static_cast<char>(b));
    return s;
}

struct ProxyClient : ClientHarness {
    explicit ProxyClient(LineFields f = Fields()) {
        EXPECT_TRUE(Start(f.Join()));
    }
    static LineFields Fields() {
        LineFields f;
        f.host = "127.0.0.7";
        f.port = "8888";
        f.proxyType = "5";
        f.proxyHost = "127.0.0.1";
        f.proxyPort = "1080";
        f.proxyUser = "pu";
        f.proxyPassword = "pw";
        return f;
    }
    void Reply(const std::string& bytes) {
        socket.Deliver(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    // What the client sent after `skip` bytes.
    std::string Sent(size_t skip = 0) const { return socket.raw.substr(skip); }
};

const std::string kGreeting = Bytes({0x05, 0x02, 0x00, 0x02});
const std::string kConnect8888 =
    Bytes({0x05, 0x01, 0x00, 0x01, 0x7F, 0x00, 0x00, 0x07, 0x22, 0xB8});
const std::string kConnectOk = Bytes({0x05, 0x00, 0x00, 0x01, 127, 0, 0, 1, 0x04, 0x38});

}  // namespace

TEST(Proxy, WithoutAuthenticationTheConnectRequestComesNext) {
    ProxyClient h;
    EXPECT_EQ(h.socket.host_, "127.0.0.1");
    EXPECT_EQ(h.socket.port_, 1080);
    EXPECT_FALSE(h.client->transport().RingReceive);
    EXPECT_TRUE(h.client->state().LoginPending);
    EXPECT_EQ(h.Sent(), kGreeting);
    h.Reply(Bytes({0x05, 0x00}));
    EXPECT_EQ(h.Sent(4), kConnect8888);
}

TEST(Proxy, AuthenticatedTunnelCarriesTheLoginAndTheFirstFrames) {
    ProxyClient h;
    h.Reply(Bytes({0x05, 0x02}));
    EXPECT_EQ(h.Sent(4), Bytes({0x01, 2, 'p', 'u', 2, 'p', 'w'}));
    h.Reply(Bytes({0x01, 0x00}));
    EXPECT_EQ(h.Sent(11), kConnect8888);
    h.lobby.posted.clear();
    // The connect reply arrives in two pieces, the login reply right behind it.
    h.Reply(kConnectOk.substr(0, 3));
    EXPECT_FALSE(h.client->transport().RingReceive);
    PacketFrame reply = ServerFrame(kLogin);
    reply[15] = 1;
    h.Reply(kConnectOk.substr(3) + std::string(reinterpret_cast<const char*>(reply.data()), 272));
    EXPECT_TRUE(h.client->transport().RingReceive);
    EXPECT_EQ(h.lobby.Codes(), std::vector<uint32_t>{kLobbyConnected});
    EXPECT_EQ(h.client->form().Sysmsg[0]->Items(),
              QStringList{QString::fromUtf8("连接代理服务器成功！")});
    const std::string login = h.Sent(21);
    ASSERT_EQ(login.size(), 272u);
    EXPECT_EQ(login, std::string(reinterpret_cast<const char*>(h.client->loginFrame().data()), 272));
    EXPECT_TRUE(h.client->PumpRunning());
    ASSERT_TRUE(h.Run(0.2));
    EXPECT_TRUE(h.client->state().LoginAccepted);
}

TEST(Proxy, RefusalsShowTheirMessageAndCloseTheSocket) {
    const struct {
        std::vector<std::string> replies;
        const char* text;
    } cases[] = {
        {{Bytes({0x05, 0xFF})}, "请求代理失败！"},
        {{Bytes({0x04, 0x00})}, "请求代理失败！"},
        {{Bytes({0x05, 0x02}), Bytes({0x01, 0x01})}, "代理服务器用户验证失败！"},
        {{Bytes({0x05, 0x00}), Bytes({0x05, 0x05, 0, 1, 0, 0, 0, 0, 0, 0})}, "通过代理连接主站失败！"},
    };
    for (const auto& c : cases) {
        ProxyClient h;
        for (const std::string& r : c.replies) h.Reply(r);
        ASSERT_EQ(h.desktop.boxes.size(), 1u) << c.text;
        EXPECT_EQ(h.desktop.boxes[0].first, QString::fromUtf8(c.text));
        EXPECT_EQ(h.desktop.boxes[0].second, "Sorvik");
        EXPECT_EQ(h.socket.State(), kSocketClosed);
        EXPECT_TRUE(h.lobby.posted.empty());
        h.Reply(Bytes({0x05, 0x00}));  // late bytes change nothing
        EXPECT_EQ(h.desktop.boxes.size(), 1u);
    }
}

TEST(Proxy, MessageBytes) {
    LineFields empty = ProxyClient::Fields();
    empty.proxyUser = "";
    empty.proxyPassword = "";
    ProxyClient e(empty);
    e.Reply(Bytes({0x05, 0x02}));
    EXPECT_EQ(e.Sent(4), Bytes({0x01, 0x00, 0x00}));

    const struct {
        const char* host;
        std::string request;
    } cases[] = {
        {"127.0.0.300", Bytes({0x05, 0x01, 0x00, 0x01, 0x7F, 0, 0, 0, 0x22, 0xB8})},
        {"localhost",
         Bytes({0x05, 0x01, 0x00, 0x03, 9, 'l', 'o', 'c', 'a', 'l', 'h', 'o', 's', 't', 0x22, 0xB8})},
        {"1.2.3", Bytes({0x05, 0x01, 0x00, 0x03, 5, '1', '.', '2', '.', '3', 0x22, 0xB8})},
    };
    for (const auto& c : cases) {
        LineFields f = ProxyClient::Fields();
        f.host = c.host;
        ProxyClient h(f);
        h.Reply(Bytes({0x05, 0x00}));
        EXPECT_EQ(h.Sent(4), c.request) << c.host;
    }
}

TEST(Proxy, UnreachableProxyGivesUpAfter30Seconds) {
    ClientHarness h;
    h.socket.acceptAfterMs = -1;
    LineFields f = ProxyClient::Fields();
    ASSERT_TRUE(h.Start(f.Join()));  // the wait runs inside the start-up
    EXPECT_NEAR(h.loop.Now(), 30.0, 0.01);
    EXPECT_TRUE(h.client->form().isMinimized());
    EXPECT_EQ(h.client->form().Sysmsg[0]->Items(),
              QStringList{QString::fromUtf8("连接服务器超时，请重新入座！")});
    EXPECT_TRUE(h.socket.raw.empty());
}
