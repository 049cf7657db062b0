#pragma once
// The video relay: players log in under their account and ask for one slot per peer; when
// two players have asked for each other, the relay pairs those two slots and carries what
// one sends to the other. A peer that falls behind gets frames dropped, and the sender is
// told its slot is limited until the peer catches up.

#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <array>
#include <map>
#include <memory>

#include "video/core/RelayProtocol.h"

namespace sorvik::relay {

class Relay : public QObject {
    Q_OBJECT
public:
    explicit Relay(QObject* parent = nullptr);
    ~Relay() override;
    bool Listen(const QHostAddress& address, quint16 port);
    quint16 Port() const { return server_.serverPort(); }
    int Connections() const { return static_cast<int>(peers_.size()); }

    static constexpr int kMaxConnections = 256;
    static constexpr int kMaxPerAddress = 64;  // loopback tests and a LAN café share addresses
    static constexpr int kLoginMs = 10000;
    static constexpr qint64 kBacklog = 2 << 20;  // bytes queued to a peer before frames drop

private:
    struct Peer {
        QTcpSocket* socket = nullptr;
        Reader reader;
        QString account;  // empty until logged in
        std::array<QString, kSlots + 1> wants{};  // slot -> the account asked for
        std::array<int, kSlots + 1> reported{};   // the slot state last sent
    };
    void OnConnection();
    void OnData(QTcpSocket* socket);
    void OnGone(QTcpSocket* socket);
    void Handle(Peer& p, const Message& m);
    // The peer and its slot paired with slot `slot` of `p`, if both asked for each other.
    Peer* Partner(const Peer& p, int slot, int* partnerSlot);
    void Report(Peer& p, int slot, int state);
    // Sends every slot state that changed for the peers holding `account` on a slot.
    void Refresh(const QString& account);
    void RefreshPeer(Peer& p);
    void Log(const QString& line) const;

    QTcpServer server_;
    std::map<QTcpSocket*, std::unique_ptr<Peer>> peers_;
};

}  // namespace sorvik::relay
