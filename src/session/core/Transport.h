#pragma once
// The 272-byte frame, its field codecs, the send and receive rings, the handshake buffer
// and the pump's slots. Everything is allocated once; no ring operation allocates.

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

namespace sorvik {

constexpr int kFrameSize = 272;
using PacketFrame = std::array<uint8_t, kFrameSize>;

constexpr int kRingSize = 34816;  // 128 frames
constexpr int kHandshakeSize = 1024;
constexpr int kMaxPendingFrames = 127;
constexpr int kChatTextLimit = 100;

// Message types (byte 3).
enum FrameType : uint8_t {
    kGameStart = 1,
    kTurnUpdate = 6,
    kActionFrame = 7,
    kGameResult = 9,
    kReadyOrLeave = 16,  // inbound: TableEnd
    kLogin = 18,         // inbound: LoginReply
    kChat = 19,
    kUserInfo = 20,
    kUserQuit = 21,
    kTableNotice = 22,
    kReadyNotice = 23,
    kKeepAlive = 24,
    kReconnectReply = 29,
};

enum class TextKind { SingleByte, Mixed, Paired };

// Writes `text` in GBK from `start`, lead byte first for double-byte characters; returns
// the index after the last byte written. Stops before a character that would not fit.
int WriteFrameText(PacketFrame& frame, int start, const QString& text);
// Reads a fixed-width text field, stopping at the first zero byte or the field's end.
QString ReadFrameText(const PacketFrame& frame, int start, int width, TextKind kind);
// Unsigned little-endian number of `width` (1..8) bytes.
uint64_t ReadFrameNumber(const PacketFrame& frame, int start, int width);

struct PumpSlot {
    bool Armed = false;
    int16_t Ticks = 0;
    void Arm() { Armed = true; Ticks = 0; }
    void Disarm() { Armed = false; Ticks = 0; }
};

struct PumpSlots {
    PumpSlot SendSlot, ReceiveSlot, ConnectSlot, ChatBlinkSlot, ExitClock, TurnClock,
        StartClock, BubbleClock;
    template <class F> void ForEach(F f) {
        for (PumpSlot* s : {&SendSlot, &ReceiveSlot, &ConnectSlot, &ChatBlinkSlot, &ExitClock,
                            &TurnClock, &StartClock, &BubbleClock})
            f(*s);
    }
    void DisarmAll() { ForEach([](PumpSlot& s) { s.Armed = false; }); ExitClock.Ticks = 0; }
};

template <int N>
struct ByteRing {
    std::array<uint8_t, N> Data{};
    int Read = 0;
    int Write = 0;
    int Pending() const { return (Write + N - Read) % N; }
    void Reset() { Read = Write = 0; }
};

enum class AppendResult { Stored, Overflow };

struct Transport {
    ByteRing<kRingSize> SendRing;
    ByteRing<kRingSize> ReceiveRing;
    ByteRing<kHandshakeSize> HandshakeBuffer;
    PacketFrame InboundFrame{};
    bool RingReceive = true;
    // The proxy handshake: 0 idle, 1/3/5 a message to send, 2/4/6 waiting for its reply.
    uint8_t HandshakeStep = 0;
    std::array<uint8_t, 2> SessionTag{};
    QString PendingChatText;
    PumpSlots Slots;

    // Queues one frame (the chat rule for type 19); false when nothing was queued: an empty
    // chat text, or 127 frames already pending.
    bool SendFrame(PacketFrame& frame);
    bool TakeInboundFrame();
    bool TakeOutboundFrame(PacketFrame& out);
    // Stores received bytes in the receive ring, or in the handshake buffer while
    // RingReceive is false. Overflow: the writer caught the reader; the rest is not stored.
    AppendResult AppendInbound(const uint8_t* bytes, size_t size);
    void ResetRings();
    void ResetSendRing() { SendRing.Reset(); }
    // Drops the first bytes of an inbound frame whose rest will never come; whole frames
    // stay.
    void DropPartialInbound();
    void ResetHandshakeBuffer() { HandshakeBuffer.Reset(); }
};

}  // namespace sorvik
