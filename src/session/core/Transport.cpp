#include "session/core/Transport.h"

#include <algorithm>

#include "platform/Gbk.h"

namespace sorvik {

int WriteFrameText(PacketFrame& frame, int start, const QString& text) {
    int pos = start;
    for (QChar c : text) {
        const uint16_t code = gbk::CodeOf(c);
        if (code > 0xFF) {
            if (pos + 1 >= kFrameSize) break;
            frame[pos++] = static_cast<uint8_t>(code >> 8);
            frame[pos++] = static_cast<uint8_t>(code & 0xFF);
        } else {
            if (pos >= kFrameSize) break;
            frame[pos++] = static_cast<uint8_t>(code);
        }
    }
    return pos;
}

QString ReadFrameText(const PacketFrame& frame, int start, int width, TextKind kind) {
    QString text;
    if (start < 0 || width <= 0 || start >= kFrameSize) return text;
    const int end = std::min(start + width, kFrameSize);
    int i = start;
    while (i < end) {
        const uint8_t b = frame[i];
        if (b == 0) break;
        switch (kind) {
            case TextKind::SingleByte:
                text += gbk::DecodeByte(b);
                ++i;
                break;
            case TextKind::Mixed:
                if (b < 0x80 || i + 1 >= end) {
                    text += gbk::DecodeByte(b);
                    ++i;
                } else {
                    text += gbk::DecodePair(b, frame[i + 1]);
                    i += 2;
                }
                break;
            case TextKind::Paired: {
                // Two bytes per character; a pair that is not a double-byte code is shown as
                // its one or two single-byte characters.
                const uint8_t trail = i + 1 < end ? frame[i + 1] : 0;
                if (b >= 0x80 && trail != 0) {
                    text += gbk::DecodePair(b, trail);
                } else {
                    text += gbk::DecodeByte(b);
                    if (trail != 0) text += gbk::DecodeByte(trail);
                }
                i += 2;
                break;
            }
        }
    }
    return text;
}

uint64_t ReadFrameNumber(const PacketFrame& frame, int start, int width) {
    uint64_t value = 0;
    for (int k = width - 1; k >= 0; --k) value = value << 8 | frame.at(start + k);
    return value;
}

bool Transport::SendFrame(PacketFrame& frame) {
    if (frame[3] == kChat) {
        if (PendingChatText.isEmpty()) return false;
        const int end = WriteFrameText(frame, 16, PendingChatText.left(kChatTextLimit));
        for (int i = end; i < kFrameSize; ++i) frame[i] = 0;
        PendingChatText.clear();
    }
    if (SendRing.Pending() / kFrameSize >= kMaxPendingFrames) return false;
    // The send ring only ever holds whole frames, so a frame never wraps.
    std::copy(frame.begin(), frame.end(), SendRing.Data.begin() + SendRing.Write);
    SendRing.Write = (SendRing.Write + kFrameSize) % kRingSize;
    Slots.SendSlot.Arm();
    return true;
}

bool Transport::TakeInboundFrame() {
    if (ReceiveRing.Pending() < kFrameSize) return false;
    // The read index moves in whole frames and the ring holds 128 of them, so a frame never
    // straddles the end.
    std::copy_n(ReceiveRing.Data.begin() + ReceiveRing.Read, kFrameSize, InboundFrame.begin());
    ReceiveRing.Read = (ReceiveRing.Read + kFrameSize) % kRingSize;
    return true;
}

bool Transport::TakeOutboundFrame(PacketFrame& out) {
    if (SendRing.Pending() < kFrameSize) return false;
    std::copy_n(SendRing.Data.begin() + SendRing.Read, kFrameSize, out.begin());
    SendRing.Read = (SendRing.Read + kFrameSize) % kRingSize;
    return true;
}

namespace {

// Copies bytes into a ring at its write index; Overflow when the writer reaches the reader,
// in which case only the bytes up to that point are stored.
template <int N>
AppendResult StoreBytes(ByteRing<N>& ring, const uint8_t* bytes, size_t size) {
    const size_t room = static_cast<size_t>(N - 1 - ring.Pending());
    const bool overflow = size > room;
    size_t left = overflow ? room + 1 : size;
    while (left > 0) {
        const size_t chunk = std::min(left, static_cast<size_t>(N - ring.Write));
        std::copy_n(bytes, chunk, ring.Data.begin() + ring.Write);
        ring.Write = static_cast<int>((ring.Write + chunk) % N);
        bytes += chunk;
        left -= chunk;
    }
    return overflow ? AppendResult::Overflow : AppendResult::Stored;
}

}  // namespace

AppendResult Transport::AppendInbound(const uint8_t* bytes, size_t size) {
    if (!RingReceive) return StoreBytes(HandshakeBuffer, bytes, size);
    if (StoreBytes(ReceiveRing, bytes, size) == AppendResult::Overflow)
        return AppendResult::Overflow;
    Slots.ReceiveSlot.Arm();
    return AppendResult::Stored;
}

void Transport::DropPartialInbound() {
    const int whole = ReceiveRing.Pending() / kFrameSize * kFrameSize;
    ReceiveRing.Write = (ReceiveRing.Read + whole) % kRingSize;
}

void Transport::ResetRings() {
    SendRing.Reset();
    ReceiveRing.Reset();
}

}  // namespace sorvik
