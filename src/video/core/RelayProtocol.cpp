#include "video/core/RelayProtocol.h"

namespace sorvik::relay {
namespace {

void PutAccount(QByteArray& out, const QString& account) {
    out.append(account.toUtf8().left(kMaxAccount));
}

bool ValidSlot(uint8_t slot) { return slot >= 1 && slot <= kSlots; }

}  // namespace

QByteArray Encode(const Message& m) {
    QByteArray body;
    body.append(static_cast<char>(m.type));
    switch (m.type) {
        case kLogin: PutAccount(body, m.account); break;
        case kRequest:
            body.append(static_cast<char>(m.slot));
            PutAccount(body, m.account);
            break;
        case kClose: body.append(static_cast<char>(m.slot)); break;
        case kSend:
        case kReceived:
            body.append(static_cast<char>(m.slot));
            body.append(static_cast<char>(m.kind));
            body.append(m.bytes);
            break;
        case kRelayState: body.append(static_cast<char>(m.state)); break;
        case kSlotState:
            body.append(static_cast<char>(m.slot));
            body.append(static_cast<char>((m.state >> 8) & 0xFF));
            body.append(static_cast<char>(m.state & 0xFF));
            break;
        default: break;
    }
    QByteArray out;
    const uint32_t n = static_cast<uint32_t>(body.size());
    out.append(static_cast<char>(n >> 24)).append(static_cast<char>(n >> 16));
    out.append(static_cast<char>(n >> 8)).append(static_cast<char>(n));
    out.append(body);
    return out;
}

std::optional<Message> Reader::Next() {
    if (bad_ || buffer_.size() < 4) return std::nullopt;
    const auto* b = reinterpret_cast<const uint8_t*>(buffer_.constData());
    const uint32_t n = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    if (n == 0 || n > static_cast<uint32_t>(kMaxMessage)) {
        bad_ = true;
        return std::nullopt;
    }
    if (static_cast<uint32_t>(buffer_.size()) < 4 + n) return std::nullopt;
    const QByteArray body = buffer_.mid(4, n);
    buffer_.remove(0, 4 + n);
    Message m;
    m.type = static_cast<uint8_t>(body[0]);
    const int size = static_cast<int>(body.size());
    auto fail = [this] {
        bad_ = true;
        return std::nullopt;
    };
    auto account = [&](int from) -> bool {
        const QByteArray raw = body.mid(from);
        if (raw.isEmpty() || raw.size() > kMaxAccount) return false;
        for (char c : raw)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;  // no control characters
        m.account = QString::fromUtf8(raw);
        return true;
    };
    switch (m.type) {
        case kLogin:
            if (!account(1)) return fail();
            break;
        case kLogout: break;
        case kRequest:
            if (size < 3) return fail();
            m.slot = static_cast<uint8_t>(body[1]);
            if (!ValidSlot(m.slot) || !account(2)) return fail();
            break;
        case kClose:
            if (size != 2) return fail();
            m.slot = static_cast<uint8_t>(body[1]);
            if (!ValidSlot(m.slot)) return fail();
            break;
        case kSend:
        case kReceived:
            if (size < 3) return fail();
            m.slot = static_cast<uint8_t>(body[1]);
            m.kind = static_cast<uint8_t>(body[2]);
            if (!ValidSlot(m.slot) || m.kind > kFrame) return fail();
            if (m.kind != kFrame && size - 3 > kMaxSetting) return fail();
            m.bytes = body.mid(3);
            break;
        case kRelayState:
            if (size != 2) return fail();
            m.state = static_cast<uint8_t>(body[1]);
            break;
        case kSlotState:
            if (size != 4) return fail();
            m.slot = static_cast<uint8_t>(body[1]);
            if (!ValidSlot(m.slot)) return fail();
            m.state = static_cast<uint8_t>(body[2]) << 8 | static_cast<uint8_t>(body[3]);
            break;
        default: return fail();
    }
    return m;
}

}  // namespace sorvik::relay
