// The server on loopback, in this process: the login check, framing in any chunks, quiet
// keep-alives, session tags, a stale reconnect mark, and a reconnect over a new link.

#include <gtest/gtest.h>

#include "Server.h"
#include "Support.h"

namespace sorvik::server {
namespace {

using namespace test;

struct LiveServer {
    explicit LiveServer(ServerOptions o = Quick()) {
        EnsureApp();
        log.SetSink([this](const std::string& line) { lines.push_back(line); });
        o.port = 0;
        server = std::make_unique<Server>(o, sched, log);
        started = server->Listen();
    }
    static ServerOptions Quick() {
        ServerOptions o;
        o.seed = 9;
        o.thinkMs = 20;
        o.readyMs = 50;
        o.dealMs = 50;
        o.startSeconds = 1;
        return o;
    }
    bool LogHas(const std::string& needle) const {
        for (const std::string& l : lines)
            if (l.find(needle) != std::string::npos) return true;
        return false;
    }
    bool WaitLog(const std::string& needle, int ms = 5000) {
        return WaitFor([&] { return LogHas(needle); }, ms);
    }
    std::vector<std::string> lines;
    QtScheduler sched;
    Logger log;
    std::unique_ptr<Server> server;
    bool started = false;
};

uint16_t TagOf(const PacketFrame& f) { return uint16_t(f[260] | f[261] << 8); }

TEST(Login, ChecksAndRefusals) {
    struct Case {
        const char* name;
        std::function<void(ServerOptions&)> configure;
        std::function<PacketFrame()> frame;
        uint8_t result;
        const char* logged;
    };
    auto garbled = [] {
        PacketFrame f = LoginFrame("ann", "k");
        f[25] = 'x';  // after the name's end
        return f;
    };
    auto keyWithTag = [] {
        PacketFrame f = LoginFrame("ann", "secret");
        f[261] = 0x34;  // where a reconnect puts the session tag
        f[262] = 0x12;
        return f;
    };
    const Case cases[] = {
        {"any key by default", [](ServerOptions&) {}, [] { return LoginFrame("ann", "whatever"); }, 1, "kind=login"},
        {"empty name", [](ServerOptions&) {}, [] { return LoginFrame("", "k"); }, 3, "why=name_empty"},
        {"name with a space", [](ServerOptions&) {}, [] { return LoginFrame("an n", "k"); }, 3, "why=name_not_printable"},
        {"name with a high byte", [](ServerOptions&) {}, [] { return LoginFrame("an\xb0", "k"); }, 3, "why=name_not_printable"},
        {"bytes after the name", [](ServerOptions&) {}, garbled, 3, "why=name_garbled"},
        {"sixteen characters", [](ServerOptions&) {}, [] { return LoginFrame("abcdefghijklmnop", ""); }, 1, "kind=login"},
        {"bot names are reserved", [](ServerOptions&) {}, [] { return LoginFrame("bot-1-2", "k"); }, 3, "why=reserved_name"},
        {"wrong key", [](ServerOptions& o) { o.key = "secret"; }, [] { return LoginFrame("ann", "secreT"); }, 3, "why=key_mismatch"},
        {"longer key", [](ServerOptions& o) { o.key = "secret"; }, [] { return LoginFrame("ann", "secret1"); }, 3, "why=key_mismatch"},
        {"right key", [](ServerOptions& o) { o.key = "secret"; }, [] { return LoginFrame("ann", "secret"); }, 1, "kind=login"},
        {"tag bytes left out of the key", [](ServerOptions& o) { o.key = "secret"; }, keyWithTag, 1, "kind=login"},
        {"refuse 2", [](ServerOptions& o) { o.refuse = 2; }, [] { return LoginFrame("ann", "k"); }, 2, "why=refuse_option"},
        {"refuse 3", [](ServerOptions& o) { o.refuse = 3; }, [] { return LoginFrame("ann", "k"); }, 3, "why=refuse_option"},
        {"no seat for people", [](ServerOptions& o) { o.bots = 4; }, [] { return LoginFrame("ann", "k"); }, 2, "why=no_seat"},
    };
    for (const Case& c : cases) {
        ServerOptions o = LiveServer::Quick();
        o.newsUrl = "http://127.0.0.1/news";
        c.configure(o);
        LiveServer s(o);
        ASSERT_TRUE(s.started) << c.name;
        LoopbackClient client(s.server->Port());
        ASSERT_TRUE(client.WaitConnected()) << c.name;
        client.Send(c.frame());
        PacketFrame reply;
        ASSERT_TRUE(client.Next(reply, 5000, kLogin)) << c.name;
        EXPECT_EQ(reply[15], c.result) << c.name;
        EXPECT_EQ(reply[11], 10) << c.name;
        EXPECT_TRUE(s.LogHas(c.logged)) << c.name;
        for (const std::string& l : s.lines) EXPECT_EQ(l.find("secret"), std::string::npos) << l;
        if (c.result == 1) {
            EXPECT_EQ(ReadFrameText(reply, 16, 100, TextKind::SingleByte), "http://127.0.0.1/news") << c.name;
            EXPECT_NE(TagOf(reply), 0) << c.name;
            PacketFrame info;
            ASSERT_TRUE(client.Next(info, 5000, kUserInfo)) << c.name;
            EXPECT_EQ(TagOf(info), TagOf(reply)) << c.name;
        } else {
            EXPECT_TRUE(client.WaitClosed()) << c.name;
        }
    }
}

TEST(Login, NameAlreadyAtATableIsRefused) {
    LiveServer s;
    LoopbackClient first(s.server->Port());
    ASSERT_TRUE(first.WaitConnected());
    first.Send(LoginFrame("ann", "k"));
    PacketFrame reply;
    ASSERT_TRUE(first.Next(reply, 5000, kLogin));
    ASSERT_EQ(reply[15], 1);
    LoopbackClient second(s.server->Port());
    ASSERT_TRUE(second.WaitConnected());
    second.Send(LoginFrame("ann", "k"));
    ASSERT_TRUE(second.Next(reply, 5000, kLogin));
    EXPECT_EQ(reply[15], 3);
    EXPECT_TRUE(s.LogHas("why=name_in_use"));
}

TEST(Framing, AnyChunkingQuietKeepAlivesAndGarbageLogged) {
    LiveServer s;
    LoopbackClient client(s.server->Port());
    ASSERT_TRUE(client.WaitConnected());
    PacketFrame zero{};
    client.Send(zero, {1, 1, 100});                           // all-zero type 0: quiet
    client.Send(LoginFrame("ann", "k"), {3, 17, 1, 200, 40});  // the login in five pieces
    PacketFrame reply;
    ASSERT_TRUE(client.Next(reply, 5000, kLogin));
    ASSERT_EQ(reply[15], 1);
    PacketFrame keepAlive{};
    keepAlive[3] = kKeepAlive;
    keepAlive[6] = 1;
    // Two frames and a half in one write, the rest later.
    QByteArray bytes(reinterpret_cast<const char*>(keepAlive.data()), 272);
    bytes += QByteArray(reinterpret_cast<const char*>(zero.data()), 272);
    bytes += QByteArray(reinterpret_cast<const char*>(keepAlive.data()), 100);
    client.SendBytes(bytes);
    client.SendBytes(QByteArray(reinterpret_cast<const char*>(keepAlive.data()) + 100, 172));
    PacketFrame garbage{};
    garbage[40] = 7;  // type 0 but not all zero
    client.Send(garbage, {5});
    ASSERT_TRUE(s.WaitLog("why=garbage"));
    EXPECT_FALSE(s.LogHas("why=unknown_type"));
    EXPECT_FALSE(s.LogHas("why=before_login"));
    EXPECT_TRUE(client.Connected());
}

TEST(Reconnect, StaleMarkIsAnOrdinaryLogin) {
    LiveServer s;
    LoopbackClient client(s.server->Port());
    ASSERT_TRUE(client.WaitConnected());
    client.Send(ReconnectLoginFrame("ann", "k", 0x2345));
    PacketFrame reply;
    ASSERT_TRUE(client.Next(reply, 5000));
    EXPECT_EQ(reply[3], kLogin);
    EXPECT_EQ(reply[15], 1);
    PacketFrame info;
    ASSERT_TRUE(client.Next(info, 5000, kUserInfo));
    EXPECT_EQ(ReadFrameText(info, 168, 16, TextKind::SingleByte), "ann");
    EXPECT_TRUE(s.LogHas("event=stale_reconnect_mark"));
    for (const PacketFrame& f : client.received) EXPECT_NE(f[3], kReconnectReply);
}

TEST(Reconnect, NewLinkGetsReplyMissedFramesAndTheTurn) {
    ServerOptions o = LiveServer::Quick();
    o.thinkMs = 400;
    o.turnSeconds = 5;
    LiveServer s(o);
    auto first = std::make_unique<LoopbackClient>(s.server->Port());
    ASSERT_TRUE(first->WaitConnected());
    first->Send(LoginFrame("ann", "k"));
    first->Send(ReadyFrame(0));
    PacketFrame f;
    ASSERT_TRUE(first->Next(f, 10000, kTurnUpdate));  // the hand has begun
    const uint16_t tag = TagOf(first->received.back());
    ASSERT_NE(tag, 0);
    for (const PacketFrame& g : first->received) EXPECT_EQ(TagOf(g), tag);
    first->Close();
    ASSERT_TRUE(s.WaitLog("event=seat_held"));
    // Frames go on at the table while the link is down.
    WaitFor([] { return false; }, 1500);

    LoopbackClient second(s.server->Port());
    ASSERT_TRUE(second.WaitConnected());
    // As the client does it: byte 4 = 28, the last tag at 261..262.
    second.Send(ReconnectLoginFrame("ann", "k", tag));
    PacketFrame reply;
    ASSERT_TRUE(second.Next(reply, 5000));
    EXPECT_EQ(reply[3], kReconnectReply);
    EXPECT_EQ(reply[15], 1);
    EXPECT_EQ(reply[260], 0);  // the one type without a tag
    EXPECT_EQ(reply[261], 0);
    ASSERT_TRUE(s.WaitLog("event=reconnect"));
    // After the replay comes the turn offer naming the player to act.
    size_t replayed = 0;
    for (const std::string& l : s.lines)
        if (l.find("event=reconnect") != std::string::npos)
            replayed = std::stoul(l.substr(l.find("replayed=") + 9));
    ASSERT_TRUE(WaitFor([&] { return second.received.size() > replayed + 1; }, 5000));
    const PacketFrame& offer = second.received[replayed + 1];
    EXPECT_EQ(offer[3], kTurnUpdate);
    EXPECT_EQ(offer[9], 0);
    EXPECT_NE(offer[12], 0);
    ASSERT_TRUE(WaitFor([&] { return OfType(second.received, kGameResult).size() == 4; }, 60000));
    for (size_t i = 1; i < second.received.size(); ++i) EXPECT_EQ(TagOf(second.received[i]), tag);
    EXPECT_TRUE(s.LogHas("kind=reconnect"));
}

}  // namespace
}  // namespace sorvik::server
