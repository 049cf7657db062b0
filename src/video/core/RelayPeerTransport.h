#pragma once
// The peer transport over one TCP link to the video relay. It logs in again after a lost
// link (every few seconds while a login is wanted) and then asks again for the slots it
// holds, so video comes back by itself.

#include <QTcpSocket>
#include <array>
#include <memory>

#include "platform/EventLoop.h"
#include "video/core/RelayProtocol.h"
#include "video/core/VideoComponent.h"

namespace sorvik {

class RelayPeerTransport final : public PeerTransport {
public:
    explicit RelayPeerTransport(EventLoop& loop);
    ~RelayPeerTransport() override;
    void SetSlotCount(int n) override { slotCount_ = n < 0 ? 0 : n > relay::kSlots ? relay::kSlots : n; }
    int SlotCount() const override { return slotCount_; }
    void Login(const QString& account) override;
    void Logout() override;
    QString SlotUser(int slot) const override;
    int SlotState(int slot) const override;
    void RequestVideo(int slot, const QString& account) override;
    void CloseSlot(int slot) override;
    void SendFormat(int format, int slot) override { SendSetting(relay::kFormat, format, slot); }
    void SendMode(int mode, int slot) override { SendSetting(relay::kMode, mode, slot); }
    void SendData(const QByteArray& data, int slot) override;

    static constexpr int kRetryMs = 5000;
    static constexpr qint64 kSendBacklog = 4 << 20;  // bytes queued before frames are dropped

private:
    void Connect();
    // The stream's format or the capture mode, as decimal text, on a streaming slot.
    void SendSetting(uint8_t kind, int value, int slot);
    void Send(const relay::Message& m);
    void OnReadyRead();
    void OnLost();
    bool ValidSlot(int slot) const { return slot >= 1 && slot <= slotCount_; }

    EventLoop& loop_;
    QTcpSocket socket_;
    relay::Reader reader_;
    std::unique_ptr<Timer> retry_;
    QString account_;
    bool wanted_ = false;
    bool loggedIn_ = false;
    int slotCount_ = 0;
    std::array<QString, relay::kSlots + 1> users_{};
    std::array<int, relay::kSlots + 1> states_{};
};

}  // namespace sorvik
