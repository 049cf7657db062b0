#include "Frames.h"

#include "platform/Gbk.h"

namespace sorvik::server {

namespace {

PacketFrame Blank(uint8_t type) {
    PacketFrame f{};
    f[3] = type;
    return f;
}

void WriteCards(PacketFrame& f, int start, const Hand3& hand) {
    for (int d = 0; d < 3; ++d) WriteLE(f, start + 4 * d, 4, hand[d].Code());
}

}  // namespace

int SeatOfBit(uint8_t byte) {
    switch (byte & 0x0F) {
        case 1: return 0;
        case 2: return 1;
        case 4: return 2;
        case 8: return 3;
        default: return -1;
    }
}

void WriteField(PacketFrame& f, int start, int width, const QString& text, bool paired) {
    int pos = start;
    const int end = start + width;
    for (QChar c : text) {
        const uint16_t code = gbk::CodeOf(c);
        if (code > 0xFF) {
            if (pos + 2 > end) break;
            f[pos++] = uint8_t(code >> 8);
            f[pos++] = uint8_t(code & 0xFF);
        } else {
            if (paired || code == 0) continue;
            if (pos + 1 > end) break;
            f[pos++] = uint8_t(code);
        }
    }
}

void WriteAscii(PacketFrame& f, int start, int width, const std::string& text) {
    for (int i = 0; i < width && i < int(text.size()); ++i) f[start + i] = uint8_t(text[i]);
}

void WriteLE(PacketFrame& f, int start, int width, uint64_t value) {
    for (int i = 0; i < width; ++i) f[start + i] = uint8_t(value >> (8 * i));
}

void WriteBE32(PacketFrame& f, int start, uint32_t value) {
    for (int i = 0; i < 4; ++i) f[start + i] = uint8_t(value >> (8 * (3 - i)));
}

PacketFrame LoginReplyFrame(uint8_t result, const std::string& newsUrl) {
    PacketFrame f = Blank(kLogin);
    f[11] = 10;  // CountdownReload
    f[15] = result;
    if (result == 1) WriteAscii(f, 16, 100, newsUrl);
    return f;
}

PacketFrame ReconnectReplyFrame(bool accepted) {
    PacketFrame f = Blank(kReconnectReply);
    f[15] = accepted ? 1 : 0;
    return f;
}

PacketFrame UserInfoFrame(const Profile& p, int describedSeat, int receiverSeat, bool ready) {
    PacketFrame f = Blank(kUserInfo);
    f[6] = SeatBit(receiverSeat);
    WriteField(f, 16, 32, p.nick);
    WriteAscii(f, 48, 16, p.face);
    f[64] = p.male ? 1 : 0;
    WriteField(f, 72, 8, p.location, true);
    WriteLE(f, 80, 8, uint64_t(p.points));
    WriteLE(f, 88, 8, uint64_t(p.credit));
    WriteLE(f, 96, 8, uint64_t(p.coins));
    WriteField(f, 112, 16, LevelTitle(LevelForPoints(p.points)), true);
    WriteLE(f, 152, 4, uint32_t(p.logins));
    WriteLE(f, 156, 4, uint32_t(p.drops));
    WriteLE(f, 160, 4, uint32_t(p.wins));
    WriteLE(f, 164, 4, uint32_t(p.losses));
    WriteAscii(f, 168, 16, p.account);
    WriteField(f, 184, 24, p.title, true);
    f[208] = ready ? 1 : 0;
    f[226] = SeatBit(describedSeat);
    return f;
}

PacketFrame UserQuitFrame(const std::string& account) {
    PacketFrame f = Blank(kUserQuit);
    WriteAscii(f, 16, 16, account);
    return f;
}

PacketFrame ReadyNoticeFrame(const std::string& account) {
    PacketFrame f = Blank(kReadyNotice);
    f[15] = 1;
    WriteAscii(f, 16, 16, account);
    return f;
}

PacketFrame GameStartFrame(int firstSeat, int baseStake) {
    PacketFrame f = Blank(kGameStart);
    f[11] = SeatBit(firstSeat);
    WriteBE32(f, 12, uint32_t(baseStake));
    return f;
}

PacketFrame TurnOfferFrame(int seat, uint8_t mask, int stake) {
    PacketFrame f = Blank(kTurnUpdate);
    f[6] = SeatBit(seat);
    f[9] = 0;
    f[11] = mask;
    f[12] = SeatBit(seat);
    f[15] = uint8_t(stake);
    return f;
}

PacketFrame TurnUpdateFor(const TurnEvent& ev, const std::array<Hand3, 4>& cards, int recipient) {
    PacketFrame f = Blank(kTurnUpdate);
    f[6] = SeatBit(ev.actor);
    switch (ev.kind) {
        case EventKind::Begin: f[9] = 0; break;
        case EventKind::GiveUp: f[9] = kGiveUp; break;
        case EventKind::Look: f[9] = kLook; break;
        case EventKind::Stake: f[9] = kStake; break;
        case EventKind::Compare: f[9] = kCompare; break;
    }
    if (!ev.ended && ev.next >= 0) {
        f[11] = ev.nextMask;
        f[12] = SeatBit(ev.next);
        f[15] = uint8_t(ev.nextStake);
    }
    f[14] = uint8_t(ev.units);

    // Card privacy. A look: the looker's cards to the looker only. A comparison: both seats
    // to everyone, the cards to the two compared players, and to everyone when it ends the
    // hand. The pot limit: every hand still in, to everyone.
    switch (ev.kind) {
        case EventKind::Look:
            if (recipient == ev.actor) WriteCards(f, 20, cards[ev.actor]);
            break;
        case EventKind::Compare: {
            f[16] = SeatBit(ev.winner);
            f[32] = SeatBit(ev.loser);
            const bool entitled = ev.ended || recipient == ev.winner || recipient == ev.loser;
            if (entitled) {
                WriteCards(f, 20, cards[ev.winner]);
                WriteCards(f, 36, cards[ev.loser]);
            }
            break;
        }
        case EventKind::Stake:
            if (ev.opened) {
                for (int k = 0; k < 4; ++k) {
                    const int s = ev.openOrder[k];
                    if (s < 0) continue;
                    f[16 + 16 * k] = SeatBit(s);
                    WriteCards(f, 20 + 16 * k, cards[s]);
                }
            }
            break;
        default: break;
    }
    return f;
}

PacketFrame GameResultFrame(int seat, const SeatResult& r, int winner, int baseStake, int level) {
    PacketFrame f = Blank(kGameResult);
    f[6] = SeatBit(seat);
    WriteBE32(f, 8, uint32_t(baseStake));
    f[15] = 1;
    f[16] = r.won ? 1 : 0;
    WriteLE(f, 17, 8, uint64_t(r.gross));
    f[25] = r.won && r.final > 0 ? 1 : 0;
    WriteLE(f, 26, 8, uint64_t(r.final));
    f[35] = SeatBit(winner);
    f[91] = uint8_t(level);
    return f;
}

PacketFrame TableEndFrame(uint8_t reason, uint8_t remainingMask) {
    PacketFrame f = Blank(kReadyOrLeave);
    f[6] = remainingMask & 0x0F;
    f[15] = reason;
    return f;
}

PacketFrame TableNoticeFrame(const QString& text) {
    PacketFrame f = Blank(kTableNotice);
    WriteField(f, 16, 200, text);
    return f;
}

PacketFrame ChatRelayFrame(int senderSeat, const PacketFrame& in) {
    PacketFrame f = Blank(kChat);
    f[6] = SeatBit(senderSeat);
    f[11] = in[11];
    for (int i = 16; i < 216 && in[i] != 0; ++i) f[i] = in[i];
    return f;
}

bool CardBytesEmpty(const PacketFrame& f, int from, int to) {
    for (int i = from; i <= to; ++i) {
        if ((i - 16) % 16 == 0) continue;  // seat bytes of the four entries
        if (f[i] != 0) return false;
    }
    return true;
}

LoginRequest ParseLogin(const PacketFrame& f, const std::optional<std::string>& key) {
    LoginRequest req;
    if (f[3] != kLogin) { req.problem = "not_a_login"; return req; }
    req.reconnectMark = f[4] == 28;
    req.tag = uint16_t(f[261] | f[262] << 8);
    int len = 0;
    while (len < 16 && f[16 + len] != 0) ++len;
    for (int i = 16 + len; i < 32; ++i)
        if (f[i] != 0) { req.problem = "name_garbled"; return req; }
    if (len == 0) { req.problem = "name_empty"; return req; }
    for (int i = 0; i < len; ++i) {
        const uint8_t c = f[16 + i];
        if (c < 0x21 || c > 0x7E) { req.problem = "name_not_printable"; return req; }
    }
    req.name.assign(reinterpret_cast<const char*>(&f[16]), len);
    if (key) {
        PacketFrame expected{};
        if (key->size() > 240) { req.problem = "key_mismatch"; return req; }
        WriteAscii(expected, 32, 240, *key);
        for (int i = 32; i < 272; ++i) {
            if (i == 261 || i == 262) continue;
            if (f[i] != expected[i]) { req.problem = "key_mismatch"; return req; }
        }
    }
    req.valid = true;
    return req;
}

}  // namespace sorvik::server
