#include "Relay.h"

#include <QTimer>
#include <cstdio>

namespace sorvik::relay {

Relay::Relay(QObject* parent) : QObject(parent) {
    connect(&server_, &QTcpServer::newConnection, this, &Relay::OnConnection);
}

Relay::~Relay() {
    // The links close with the listener: nothing of theirs may reach the relay any more.
    for (auto& [socket, peer] : peers_) socket->disconnect(this);
    peers_.clear();
}

bool Relay::Listen(const QHostAddress& address, quint16 port) { return server_.listen(address, port); }

void Relay::Log(const QString& line) const { std::fprintf(stderr, "%s\n", qPrintable(line)); }

void Relay::OnConnection() {
    while (QTcpSocket* s = server_.nextPendingConnection()) {
        if (Connections() >= kMaxConnections) {
            s->abort();
            s->deleteLater();
            continue;
        }
        int fromAddress = 0;
        for (const auto& [socket, other] : peers_) fromAddress += socket->peerAddress() == s->peerAddress() ? 1 : 0;
        if (fromAddress >= kMaxPerAddress) {
            s->abort();
            s->deleteLater();
            continue;
        }
        auto peer = std::make_unique<Peer>();
        peer->socket = s;
        peers_[s] = std::move(peer);
        // A link that does not log in soon is let go.
        QTimer::singleShot(kLoginMs, s, [this, s] {
            auto it = peers_.find(s);
            if (it != peers_.end() && it->second->account.isEmpty()) s->abort();
        });
        connect(s, &QTcpSocket::readyRead, this, [this, s] { OnData(s); });
        connect(s, &QTcpSocket::disconnected, this, [this, s] { OnGone(s); });
        connect(s, &QTcpSocket::bytesWritten, this, [this, s] {
            auto it = peers_.find(s);
            if (it == peers_.end() || it->second->account.isEmpty()) return;
            Refresh(it->second->account);  // a peer that caught up lifts the limit
        });
    }
}

void Relay::OnData(QTcpSocket* s) {
    auto it = peers_.find(s);
    if (it == peers_.end()) return;
    Peer& p = *it->second;
    p.reader.Append(s->readAll());
    while (auto m = p.reader.Next()) {
        Handle(p, *m);
        if (peers_.find(s) == peers_.end()) return;  // the link ended while handling
    }
    if (p.reader.Bad()) {
        Log(QStringLiteral("event=dropped reason=bad_message account=%1").arg(p.account));
        s->abort();
    }
}

void Relay::OnGone(QTcpSocket* s) {
    auto it = peers_.find(s);
    if (it == peers_.end()) return;
    const QString account = it->second->account;
    peers_.erase(it);
    s->deleteLater();
    if (!account.isEmpty()) {
        Log(QStringLiteral("event=logout account=%1").arg(account));
        Refresh(account);
    }
}

void Relay::Handle(Peer& p, const Message& m) {
    if (m.type == kLogin) {
        if (!p.account.isEmpty()) return;
        // A second login of one account takes over: the older link ends.
        for (auto& [socket, other] : peers_)
            if (other.get() != &p && other->account == m.account) {
                other->account.clear();
                socket->abort();
                break;
            }
        p.account = m.account;
        Message reply;
        reply.type = kRelayState;
        reply.state = 2;
        p.socket->write(Encode(reply));
        Log(QStringLiteral("event=login account=%1").arg(p.account));
        RefreshPeer(p);
        Refresh(p.account);
        return;
    }
    if (p.account.isEmpty()) return;  // nothing counts before the login
    switch (m.type) {
        case kLogout: p.socket->disconnectFromHost(); return;
        case kRequest:
            p.wants[m.slot] = m.account;
            RefreshPeer(p);
            Refresh(p.account);
            return;
        case kClose:
            p.wants[m.slot].clear();
            p.reported[m.slot] = 0;
            Refresh(p.account);
            return;
        case kSend: {
            int slot = 0;
            Peer* to = Partner(p, m.slot, &slot);
            if (!to) return;
            if (to->socket->bytesToWrite() > kBacklog) {
                Report(p, m.slot, kSlotLimited);  // dropped: the peer is behind
                return;
            }
            Message out;
            out.type = kReceived;
            out.slot = static_cast<uint8_t>(slot);
            out.kind = m.kind;
            out.bytes = m.bytes;
            to->socket->write(Encode(out));
            return;
        }
        default: return;
    }
}

Relay::Peer* Relay::Partner(const Peer& p, int slot, int* partnerSlot) {
    const QString& wanted = p.wants[slot];
    if (wanted.isEmpty() || wanted == p.account) return nullptr;
    for (auto& [socket, other] : peers_) {
        if (other->account != wanted) continue;
        for (int t = 1; t <= kSlots; ++t)
            if (other->wants[t] == p.account) {
                *partnerSlot = t;
                return other.get();
            }
        return nullptr;
    }
    return nullptr;
}

void Relay::Report(Peer& p, int slot, int state) {
    if (p.reported[slot] == state) return;
    p.reported[slot] = state;
    Message m;
    m.type = kSlotState;
    m.slot = static_cast<uint8_t>(slot);
    m.state = state;
    p.socket->write(Encode(m));
}

void Relay::RefreshPeer(Peer& p) {
    for (int s = 1; s <= kSlots; ++s) {
        if (p.wants[s].isEmpty()) continue;
        int t = 0;
        Peer* to = Partner(p, s, &t);
        int state = kSlotWaiting;
        if (to) state = to->socket->bytesToWrite() > kBacklog ? kSlotLimited : kSlotReady;
        Report(p, s, state);
    }
}

void Relay::Refresh(const QString& account) {
    for (auto& [socket, other] : peers_)
        for (int s = 1; s <= kSlots; ++s)
            if (other->wants[s] == account) {
                RefreshPeer(*other);
                break;
            }
}

}  // namespace sorvik::relay
