#pragma once
// Every frame the server sends, built byte by byte for what the client reads, and the
// parsing of the frames it receives. Which cards a recipient may see is decided here, in
// TurnUpdateFor, and nowhere else.

#include <QString>
#include <optional>
#include <string>

#include "Hand.h"
#include "Profile.h"
#include "Rules.h"
#include "session/core/Transport.h"

namespace sorvik::server {

using sorvik::PacketFrame;

inline uint8_t SeatBit(int seat) { return seat >= 0 && seat < 4 ? uint8_t(1u << seat) : 0; }
// The seat of a one-hot seat byte (low four bits), -1 when it is not one bit.
int SeatOfBit(uint8_t byte);

// Writes GBK text into a fixed field, never splitting a double-byte character; `paired`
// keeps only double-byte characters (fields the client reads two bytes at a time).
void WriteField(PacketFrame& f, int start, int width, const QString& text, bool paired = false);
void WriteAscii(PacketFrame& f, int start, int width, const std::string& text);
void WriteLE(PacketFrame& f, int start, int width, uint64_t value);
void WriteBE32(PacketFrame& f, int start, uint32_t value);

PacketFrame LoginReplyFrame(uint8_t result, const std::string& newsUrl);
PacketFrame ReconnectReplyFrame(bool accepted);
PacketFrame UserInfoFrame(const Profile& p, int describedSeat, int receiverSeat, bool ready);
PacketFrame UserQuitFrame(const std::string& account);
PacketFrame ReadyNoticeFrame(const std::string& account);
PacketFrame GameStartFrame(int firstSeat, int baseStake);
// The copy of a hand event for one recipient seat (-1: a watcher entitled to no card).
PacketFrame TurnUpdateFor(const TurnEvent& ev, const std::array<Hand3, 4>& cards, int recipient);
// A code-0 turn update naming the player to act (after a deal, a reconnect, an ignored action).
PacketFrame TurnOfferFrame(int seat, uint8_t mask, int stake);
PacketFrame GameResultFrame(int seat, const SeatResult& r, int winner, int baseStake, int level);
PacketFrame TableEndFrame(uint8_t reason, uint8_t remainingMask);
PacketFrame TableNoticeFrame(const QString& text);
// A relayed chat line: the sender's seat, the addressee byte as sent, the text bytes.
PacketFrame ChatRelayFrame(int senderSeat, const PacketFrame& in);

// The card bytes 16..79 carry nothing but zeros and seat bytes (for tests and checks).
bool CardBytesEmpty(const PacketFrame& f, int from, int to);

struct LoginRequest {
    bool valid = false;
    std::string problem;  // why not valid
    std::string name;
    bool reconnectMark = false;
    uint16_t tag = 0;  // bytes 261..262 of a marked login
};
// `key`: when set, only this key is accepted; bytes 261..262 are left out of the check.
LoginRequest ParseLogin(const PacketFrame& f, const std::optional<std::string>& key);

// A session tag at bytes 260..261 (low byte first), on every frame but type 29.
inline void StampTag(PacketFrame& f, uint16_t tag) {
    if (f[3] == sorvik::kReconnectReply) return;
    f[260] = uint8_t(tag & 0xFF);
    f[261] = uint8_t(tag >> 8);
}

}  // namespace sorvik::server
