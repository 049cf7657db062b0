#include "video/core/RelayPeerTransport.h"

namespace sorvik {

using relay::Message;

RelayPeerTransport::RelayPeerTransport(EventLoop& loop) : loop_(loop) {
    retry_ = loop_.CreateTimer(kRetryMs, [this] {
        if (wanted_ && socket_.state() == QAbstractSocket::UnconnectedState) Connect();
    });
    QObject::connect(&socket_, &QTcpSocket::connected, [this] {
        Message m;
        m.type = relay::kLogin;
        m.account = account_;
        Send(m);
    });
    QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { OnReadyRead(); });
    QObject::connect(&socket_, &QTcpSocket::disconnected, [this] { OnLost(); });
    QObject::connect(&socket_, &QTcpSocket::errorOccurred, [this](QAbstractSocket::SocketError) {
        if (socket_.state() != QAbstractSocket::ConnectedState) OnLost();
    });
}

RelayPeerTransport::~RelayPeerTransport() {
    QObject::disconnect(&socket_, nullptr, nullptr, nullptr);
    socket_.abort();
}

void RelayPeerTransport::Login(const QString& account) {
    account_ = account;
    wanted_ = !account.isEmpty();
    if (!wanted_) return;
    retry_->Start();
    if (socket_.state() == QAbstractSocket::UnconnectedState) Connect();
}

void RelayPeerTransport::Connect() {
    reader_ = relay::Reader();
    socket_.connectToHost(RelayHost, static_cast<quint16>(RelayPort));
}

void RelayPeerTransport::Logout() {
    wanted_ = false;
    retry_->Stop();
    if (socket_.state() == QAbstractSocket::ConnectedState) {
        Message m;
        m.type = relay::kLogout;
        Send(m);
        socket_.flush();
    }
    socket_.abort();
    OnLost();
}

QString RelayPeerTransport::SlotUser(int slot) const { return ValidSlot(slot) ? users_[slot] : QString(); }
int RelayPeerTransport::SlotState(int slot) const { return ValidSlot(slot) ? states_[slot] : 0; }

void RelayPeerTransport::RequestVideo(int slot, const QString& account) {
    if (!ValidSlot(slot) || account.isEmpty()) return;
    users_[slot] = account;
    states_[slot] = 1;  // asked for; the relay tells when the peer answers
    if (!loggedIn_) return;
    Message m;
    m.type = relay::kRequest;
    m.slot = static_cast<uint8_t>(slot);
    m.account = account;
    Send(m);
}

void RelayPeerTransport::CloseSlot(int slot) {
    if (!ValidSlot(slot)) return;
    const bool held = !users_[slot].isEmpty();
    users_[slot].clear();
    states_[slot] = 0;
    if (!held || !loggedIn_) return;
    Message m;
    m.type = relay::kClose;
    m.slot = static_cast<uint8_t>(slot);
    Send(m);
}

void RelayPeerTransport::SendSetting(uint8_t kind, int value, int slot) {
    if (!ValidSlot(slot) || states_[slot] < 10) return;
    Message m;
    m.type = relay::kSend;
    m.kind = kind;
    m.bytes = QByteArray::number(value);
    m.slot = static_cast<uint8_t>(slot);
    Send(m);
}

void RelayPeerTransport::SendData(const QByteArray& data, int slot) {
    if (!ValidSlot(slot) || states_[slot] < 10 || data.isEmpty()) return;
    if (data.size() > relay::kMaxMessage - 8) return;  // no frame that large
    if (socket_.bytesToWrite() > kSendBacklog) return;  // the link is behind: this frame is skipped
    Message m;
    m.type = relay::kSend;
    m.kind = relay::kFrame;
    m.slot = static_cast<uint8_t>(slot);
    m.bytes = data;
    Send(m);
}

void RelayPeerTransport::Send(const Message& m) {
    if (socket_.state() == QAbstractSocket::ConnectedState) socket_.write(relay::Encode(m));
}

void RelayPeerTransport::OnReadyRead() {
    reader_.Append(socket_.readAll());
    while (auto m = reader_.Next()) {
        switch (m->type) {
            case relay::kRelayState: {
                const bool was = loggedIn_;
                loggedIn_ = m->state == 2;
                if (loggedIn_ && !was) {
                    // Ask again for every slot held before the link was lost.
                    for (int s = 1; s <= slotCount_; ++s)
                        if (!users_[s].isEmpty()) RequestVideo(s, users_[s]);
                }
                if (onRelayStateChanged) onRelayStateChanged(m->state);
                break;
            }
            case relay::kSlotState:
                if (!ValidSlot(m->slot) || users_[m->slot].isEmpty()) break;
                states_[m->slot] = m->state;
                if (onSlotStateChanged) onSlotStateChanged(m->slot, m->state);
                break;
            case relay::kReceived:
                if (m->kind == relay::kFrame && ValidSlot(m->slot) && onDataReceived)
                    onDataReceived(m->slot, m->bytes);
                break;
            default: break;  // not a message the relay sends
        }
    }
    if (reader_.Bad()) socket_.abort();  // a relay that breaks the format is dropped
}

void RelayPeerTransport::OnLost() {
    const bool was = loggedIn_;
    loggedIn_ = false;
    for (int s = 1; s <= relay::kSlots; ++s)
        if (states_[s] > 1) states_[s] = users_[s].isEmpty() ? 0 : 1;
    if (was && onRelayStateChanged) onRelayStateChanged(0);
}

}  // namespace sorvik
