#pragma once
// The video relay's wire format, spoken by the client's peer transport and by sorvik-relay.
// A message is a 4-byte big-endian length of what follows, one type byte, then the payload.
// Names are UTF-8; a frame travels as its bytes, unchanged.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace sorvik::relay {

constexpr uint16_t kDefaultPort = 8888;
constexpr int kMaxMessage = 1 << 20;  // bytes after the length; a longer one ends the link
constexpr int kMaxAccount = 64;       // bytes of a UTF-8 account name
constexpr int kSlots = 3;
constexpr int kMaxSetting = 16;  // bytes of a format or mode value

enum Type : uint8_t {
    // To the relay.
    kLogin = 1,    // account
    kLogout = 2,   // -
    kRequest = 3,  // slot, account
    kClose = 4,    // slot
    kSend = 5,     // slot, kind, bytes
    // From the relay.
    kRelayState = 101,  // state (2 logged in)
    kSlotState = 102,   // slot, state (2 bytes, big-endian)
    kReceived = 103,    // slot, kind, bytes
};

// What a kSend or kReceived carries.
enum Kind : uint8_t { kFormat = 0, kMode = 1, kFrame = 2 };

// Slot states the relay reports: below 10 not streaming, 12 streaming but the peer falls
// behind (frames are dropped), 15 streaming at full rate.
constexpr int kSlotWaiting = 5;
constexpr int kSlotLimited = 12;
constexpr int kSlotReady = 15;

struct Message {
    uint8_t type = 0;
    uint8_t slot = 0;
    uint8_t kind = 0;
    int state = 0;
    QString account;
    QByteArray bytes;
};

QByteArray Encode(const Message& m);

// Collects a byte stream and cuts it into messages. A length of 0 or above kMaxMessage, or
// a payload that does not fit its type, makes the stream bad for good.
class Reader {
public:
    void Append(const QByteArray& bytes) { buffer_.append(bytes); }
    // The next whole message, or nothing when more bytes are needed or the stream is bad.
    std::optional<Message> Next();
    bool Bad() const { return bad_; }

private:
    QByteArray buffer_;
    bool bad_ = false;
};

}  // namespace sorvik::relay
