// The server takes a fuzzed stream from several clients (random frames, random chunking,
// links that drop and come back with real or made-up tags, operator commands) and is still
// serving afterwards. Meant to run under AddressSanitizer and UBSan as well.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "Server.h"
#include "Support.h"

namespace sorvik::server {
namespace {

using namespace test;

PacketFrame RandomFrame(Rng& rng, int seat, const std::string& name, uint16_t tag) {
    PacketFrame f{};
    switch (rng.Below(12)) {
        case 0:  // noise
            for (uint8_t& b : f) b = uint8_t(rng.Next());
            return f;
        case 1: {  // a known type with noise
            static const uint8_t kTypes[] = {0, 7, 16, 18, 19, 24, 29, 1, 6, 9, 255};
            for (uint8_t& b : f) b = uint8_t(rng.Next());
            f[3] = kTypes[rng.Below(sizeof kTypes)];
            return f;
        }
        case 2:
        case 3:
        case 4:  // an action, sometimes with a wrong seat, code or amount
            return ActionFrame(rng.Percent(80) ? seat : int(rng.Below(5)), uint8_t(1u << rng.Below(5)),
                               int(rng.Below(256)));
        case 5: return ReadyFrame(seat);
        case 6: return rng.Percent(20) ? LeaveFrame(seat) : ReadyFrame(seat);
        case 7: {
            std::string text;
            for (int i = int(rng.Below(220)); i > 0; --i) text += char(1 + rng.Below(255));
            PacketFrame c = ChatFrame(seat, uint8_t(rng.Below(256)), text);
            for (int i = 216; i < 272; ++i) c[i] = uint8_t(rng.Next());
            return c;
        }
        case 8: f[3] = kKeepAlive; f[6] = SeatBit(seat); return f;
        case 9: return f;  // all zero
        case 10: return LoginFrame(name, "k");
        default: return ReconnectLoginFrame(name, "k", rng.Percent(50) ? tag : uint16_t(rng.Next()));
    }
}

struct FuzzClient {
    std::unique_ptr<LoopbackClient> link;
    std::string name;
    uint16_t tag = 0;
    size_t seen = 0;
};

class Fuzz : public ::testing::TestWithParam<uint64_t> {};

TEST_P(Fuzz, ServerSurvivesRandomStreams) {
    EnsureApp();
    ServerOptions o;
    o.port = 0;
    o.bots = 2;  // two people per table, so tables end and refill
    o.seed = 4;
    o.thinkMs = 5;
    o.readyMs = 5;
    o.dealMs = 5;
    o.startSeconds = 0;
    o.turnSeconds = 1;
    QtScheduler sched;
    Logger log;
    int64_t lines = 0, reconnects = 0, hands = 0;
    log.SetSink([&](const std::string& line) {
        ++lines;
        reconnects += line.find("kind=reconnect") != std::string::npos;
        hands += line.find("event=hand_end") != std::string::npos;
    });
    Server server(o, sched, log);
    ASSERT_TRUE(server.Listen());

    Rng rng(GetParam());
    std::vector<FuzzClient> clients(6);
    auto reconnect = [&](FuzzClient& c, bool marked) {
        c.link = std::make_unique<LoopbackClient>(server.Port());
        c.link->WaitConnected(2000);
        c.seen = 0;
        const PacketFrame login = marked ? ReconnectLoginFrame(c.name, "k", c.tag) : LoginFrame(c.name, "k");
        if (rng.Percent(85)) c.link->Send(login, {int(rng.Below(272))});
    };
    for (size_t i = 0; i < clients.size(); ++i) {
        clients[i].name = "fuzz" + std::to_string(i);
        reconnect(clients[i], false);
    }

    QElapsedTimer clock;
    clock.start();
    int frames = 0;
    while (frames < 6000 && clock.elapsed() < 60000) {
        FuzzClient& c = clients[rng.Below(uint32_t(clients.size()))];
        // The tag as the client keeps it: from the last frame that carries one.
        for (; c.seen < c.link->received.size(); ++c.seen) {
            const PacketFrame& f = c.link->received[c.seen];
            if (f[3] != kReconnectReply) c.tag = uint16_t(f[260] | f[261] << 8);
        }
        const uint32_t roll = rng.Below(1000);
        if (roll < 15 || !c.link->Connected()) {
            c.link->Close();
            reconnect(c, rng.Percent(70));
            continue;
        }
        if (roll < 20) {
            // Part of a frame, then the link drops.
            PacketFrame f = RandomFrame(rng, 0, c.name, c.tag);
            c.link->SendBytes(QByteArray(reinterpret_cast<const char*>(f.data()), int(1 + rng.Below(271))));
            c.link->Close();
            reconnect(c, true);
            continue;
        }
        if (roll < 24) {
            static const char* const kCommands[] = {"tables", "notice 1 维护", "notice 2 x", "kick fuzz1",
                                                    "kick nobody", "notice", "help", "bogus 1 2", "notice 99 a"};
            server.Command(QString::fromUtf8(kCommands[rng.Below(std::size(kCommands))]));
            continue;
        }
        const int seat = int(rng.Below(4));
        const PacketFrame f = RandomFrame(rng, seat, c.name, c.tag);
        std::vector<int> chunks;
        for (int left = 272; left > 0 && rng.Percent(60);) {
            const int n = 1 + int(rng.Below(uint32_t(left)));
            chunks.push_back(n);
            left -= n;
        }
        c.link->Send(f, chunks);
        ++frames;
        if (frames % 8 == 0) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    WaitFor([] { return false; }, 500);
    EXPECT_GT(lines, 1000);
    // The stream reached the deep paths too: hands played to the end, held seats taken back.
    EXPECT_GT(hands, 0);
    EXPECT_GT(reconnects, 0);

    // Still serving: a well-behaved newcomer logs in, is seated and described.
    for (FuzzClient& c : clients) c.link->Close();
    LoopbackClient fresh(server.Port());
    ASSERT_TRUE(fresh.WaitConnected());
    fresh.Send(LoginFrame("afterwards", "k"));
    PacketFrame reply;
    ASSERT_TRUE(fresh.Next(reply, 5000, kLogin));
    EXPECT_EQ(reply[15], 1);
    PacketFrame info;
    ASSERT_TRUE(fresh.Next(info, 5000, kUserInfo));
    EXPECT_EQ(ReadFrameText(info, 168, 16, TextKind::SingleByte), "afterwards");
}

INSTANTIATE_TEST_SUITE_P(Seeds, Fuzz, ::testing::Values(20240607u, 11u, 977u));

}  // namespace
}  // namespace sorvik::server
