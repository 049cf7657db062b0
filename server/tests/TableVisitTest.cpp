// A whole table visit against the sorvik-server program: a scripted client logs in, sits
// with three bots, plays two hands to their results with every frame's layout checked,
// chats, and leaves; the operator's commands come on standard input.

#include <gtest/gtest.h>

#include <set>

#include "Support.h"
#include "game/core/TableState.h"

namespace sorvik::server {
namespace {

using namespace test;

bool OneBit(uint8_t b) { return b == 1 || b == 2 || b == 4 || b == 8; }

bool IsCard(uint32_t code) {
    const int rank = int(code >> 8 & 0xFF), suit = int(code & 0xFF);
    return (code >> 16) == 0 && rank >= 2 && rank <= 14 && OneBit(uint8_t(suit));
}

class Visitor {
public:
    explicit Visitor(int port) : link(port) {}

    // Frames must carry this session's tag; the reply to a reconnect is the one exception.
    void CheckTag(const PacketFrame& f) {
        const uint16_t t = uint16_t(f[260] | f[261] << 8);
        if (tag == 0) tag = t;
        EXPECT_NE(t, 0);
        EXPECT_EQ(t, tag) << "type " << int(f[3]);
    }

    // The next frame of any type; all zero when none came.
    PacketFrame Next(int ms = 20000) {
        PacketFrame f{};
        if (!link.Next(f, ms)) {
            ADD_FAILURE() << "no frame within " << ms << " ms";
            return PacketFrame{};
        }
        CheckTag(f);
        return f;
    }

    PacketFrame Expect(uint8_t type) {
        for (;;) {
            const PacketFrame f = Next();
            if (f[3] == type || f[3] == 0) return f;
            Other(f);
        }
    }

    // Frames that may come between the ones a step waits for.
    void Other(const PacketFrame& f) {
        switch (f[3]) {
            case kReadyNotice:
                EXPECT_EQ(f[15], 1);
                readyNames.insert(ReadFrameText(f, 16, 16, TextKind::SingleByte).toStdString());
                return;
            case kChat: chats.push_back(f); return;
            default: ADD_FAILURE() << "unexpected frame type " << int(f[3]);
        }
    }

    // One hand, from the game start to the fourth result; plays on its own turns.
    void PlayHand() {
        const PacketFrame start = Expect(kGameStart);
        EXPECT_EQ(Hex(start, 12, 15), "00000064");
        EXPECT_TRUE(OneBit(start[11]));
        std::set<int> in = {0, 1, 2, 3}, looked;
        bool iLooked = false;
        int turns = 0;
        for (;;) {
            const PacketFrame f = Next();
            if (f[3] == 0) return;
            if (f[3] == kGameResult) {
                results.assign(1, f);
                for (int i = 0; i < 3; ++i) results.push_back(Expect(kGameResult));
                return;
            }
            if (f[3] != kTurnUpdate) {
                Other(f);
                continue;
            }
            ++turns;
            const int actor = SeatOfBit(f[6]);
            ASSERT_GE(actor, 0);
            const uint8_t code = f[9];
            ASSERT_TRUE(code == 0 || code == kGiveUp || code == kLook || code == kStake || code == kCompare);
            if (f[12] == 0) {
                EXPECT_EQ(f[11], 0);
                EXPECT_EQ(f[15], 0);
            } else {
                EXPECT_TRUE(OneBit(f[12]));
                EXPECT_EQ(f[11] & (kGiveUp | kStake), kGiveUp | kStake);
                EXPECT_LE(f[15], 100);
                EXPECT_GE(f[15], 10);
            }
            // The cards this client may see, and only those.
            switch (code) {
                case kLook:
                    EXPECT_EQ(f[12], f[6]);
                    EXPECT_EQ(f[14], 0);
                    looked.insert(actor);
                    if (actor == seat) {
                        iLooked = true;
                        std::set<uint32_t> mine;
                        for (int d = 0; d < 3; ++d) {
                            const uint32_t c = uint32_t(ReadFrameNumber(f, 20 + 4 * d, 4));
                            EXPECT_TRUE(IsCard(c)) << std::hex << c;
                            mine.insert(c);
                        }
                        EXPECT_EQ(mine.size(), 3u);
                    } else {
                        EXPECT_TRUE(CardBytesEmpty(f, 16, 79));
                    }
                    break;
                case kCompare: {
                    const int w = SeatOfBit(f[16]), l = SeatOfBit(f[32]);
                    ASSERT_GE(w, 0);
                    ASSERT_GE(l, 0);
                    EXPECT_GT(f[14], 0);
                    const bool shown = f[12] == 0 || w == seat || l == seat;
                    for (int start : {20, 36})
                        for (int d = 0; d < 3; ++d) {
                            const uint32_t c = uint32_t(ReadFrameNumber(f, start + 4 * d, 4));
                            if (shown) EXPECT_TRUE(IsCard(c));
                            else EXPECT_EQ(c, 0u);
                        }
                    in.erase(l);
                    looked.erase(l);
                    break;
                }
                case kStake:
                    EXPECT_GE(f[14], 10);
                    EXPECT_LE(f[14], 100);
                    if (f[16]) {
                        EXPECT_EQ(f[12], 0);
                        int shown = 0;
                        for (int k = 0; k < 4; ++k)
                            if (f[16 + 16 * k]) {
                                ++shown;
                                for (int d = 0; d < 3; ++d)
                                    EXPECT_TRUE(IsCard(uint32_t(ReadFrameNumber(f, 20 + 16 * k + 4 * d, 4))));
                            }
                        EXPECT_EQ(shown, int(in.size()));
                    } else {
                        EXPECT_TRUE(CardBytesEmpty(f, 16, 79));
                    }
                    break;
                case kGiveUp:
                    EXPECT_EQ(f[14], 0);
                    EXPECT_TRUE(CardBytesEmpty(f, 16, 79));
                    in.erase(actor);
                    looked.erase(actor);
                    break;
                default:
                    EXPECT_TRUE(CardBytesEmpty(f, 16, 79));
            }
            if (f[12] != SeatBit(seat)) continue;
            // Our turn: look first, then compare when offered, else follow.
            const uint8_t mask = f[11];
            if ((mask & kLook) && !iLooked) {
                link.Send(ActionFrame(seat, kLook, 0));
            } else if (mask & kCompare) {
                EXPECT_TRUE(mask & kStake);
                int target = seat;  // with two left, the own seat as the client sends it
                for (int s : looked)
                    if (s != seat && in.size() > 2) target = s;
                link.Send(ActionFrame(seat, kCompare, SeatBit(target)));
                ++compares;
            } else {
                link.Send(ActionFrame(seat, kStake, f[15]));
            }
        }
    }

    void CheckResults() {
        ASSERT_EQ(results.size(), 4u);
        const int winner = SeatOfBit(results[0][35]);
        ASSERT_GE(winner, 0);
        CheckResultRows(results, winner);
    }

    LoopbackClient link;
    uint16_t tag = 0;
    int seat = -1;
    std::set<std::string> readyNames;
    std::vector<PacketFrame> chats, results;
    int compares = 0;
};

TEST(TableVisit, LoginFourSeatsTwoHandsChatAndLeave) {
    ServerProcess server({"--bots", "3", "--think-ms", "40", "--ready-ms", "300", "--deal-ms", "200",
                          "--seed", "7", "--news-url", "http://127.0.0.1/news"});
    ASSERT_TRUE(server.Started()) << server.Stderr().toStdString();
    Visitor v(server.Port());
    ASSERT_TRUE(v.link.WaitConnected());
    v.link.Send(LoginFrame("visitor", "key-not-logged"), {10, 50});

    const PacketFrame reply = v.Expect(kLogin);
    EXPECT_EQ(reply[15], 1);
    EXPECT_EQ(reply[11], 10);
    EXPECT_EQ(ReadFrameText(reply, 16, 100, TextKind::SingleByte), "http://127.0.0.1/news");

    std::set<uint8_t> described;
    std::set<QString> names;
    for (int i = 0; i < 4; ++i) {
        const PacketFrame info = v.Expect(kUserInfo);
        ASSERT_FALSE(HasFatalFailure());
        if (i == 0) {
            EXPECT_EQ(info[226], info[6]);  // our own profile first
            v.seat = SeatOfBit(info[6]);
        }
        EXPECT_EQ(info[6], SeatBit(v.seat));
        EXPECT_TRUE(OneBit(info[226]));
        described.insert(info[226]);
        SeatProfile p;
        DecodeProfile(p, info);
        names.insert(p.Account);
        EXPECT_FALSE(p.NickName.isEmpty());
        EXPECT_FALSE(p.LevelTitle.isEmpty());
        EXPECT_GT(p.Coins, 0);
    }
    EXPECT_EQ(described, (std::set<uint8_t>{1, 2, 4, 8}));
    EXPECT_EQ(names.size(), 4u);
    EXPECT_TRUE(names.count("visitor"));
    ASSERT_GE(v.seat, 0);

    v.link.Send(ChatFrame(v.seat, 0, "visitor: hello"));
    v.link.Send(ReadyFrame(v.seat));
    v.PlayHand();
    ASSERT_FALSE(HasFatalFailure());
    v.CheckResults();
    EXPECT_TRUE(v.readyNames.count("visitor"));
    EXPECT_EQ(v.readyNames.size(), 4u);
    ASSERT_EQ(v.chats.size(), 1u);
    EXPECT_EQ(v.chats[0][6], SeatBit(v.seat));
    EXPECT_EQ(ReadFrameText(v.chats[0], 16, 200, TextKind::Mixed), "visitor: hello");

    // A ready, and the second hand.
    v.link.Send(ReadyFrame(v.seat));
    v.PlayHand();
    ASSERT_FALSE(HasFatalFailure());
    v.CheckResults();

    server.Write("tables\n");
    EXPECT_TRUE(server.WaitStderr("event=table table=1 state=between hands=2", 5000));

    // The leave frame: the server lets the link go.
    v.link.Send(LeaveFrame(v.seat));
    EXPECT_TRUE(v.link.WaitClosed());
    EXPECT_TRUE(server.WaitStderr("why=leave", 5000));
    EXPECT_TRUE(server.WaitStderr("event=table_closed table=1", 5000));
    EXPECT_FALSE(server.Stderr().contains("key-not-logged"));

    server.Write("quit\n");
    EXPECT_TRUE(server.WaitFinished(5000));
    EXPECT_EQ(server.ExitCode(), 0);
}

TEST(TableVisit, EndOfStandardInputStopsNothing) {
    ServerProcess server({"--bots", "3"});
    ASSERT_TRUE(server.Started());
    server.Write("help\n");
    ASSERT_TRUE(server.WaitStderr("event=help", 5000));
    server.CloseInput();
    ASSERT_TRUE(server.WaitStderr("event=stdin_closed", 5000));
    LoopbackClient c(server.Port());
    ASSERT_TRUE(c.WaitConnected());
    c.Send(LoginFrame("later", "k"));
    PacketFrame reply;
    ASSERT_TRUE(c.Next(reply, 5000, kLogin));
    EXPECT_EQ(reply[15], 1);
}

}  // namespace
}  // namespace sorvik::server
