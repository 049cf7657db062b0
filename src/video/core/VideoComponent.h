#pragma once
// The video component as the table sees it: the peer transport through the relay (slots
// 1..SlotCount, each bound to one account) and the camera. Frames are opaque byte arrays
// (complete bitmap files) that travel unchanged from the camera to the peers' displays.

#include <QByteArray>
#include <QString>
#include <functional>

namespace sorvik {

class PeerTransport {
public:
    virtual ~PeerTransport() = default;
    QString RelayHost;
    int RelayPort = 0;
    virtual void SetSlotCount(int n) = 0;
    virtual int SlotCount() const = 0;
    virtual void Login(const QString& account) = 0;
    virtual void Logout() = 0;
    virtual QString SlotUser(int slot) const = 0;
    // Below 1 free; below 10 not streaming; 10..14 streaming, limited; 15 full rate.
    virtual int SlotState(int slot) const = 0;
    virtual void RequestVideo(int slot, const QString& account) = 0;
    virtual void CloseSlot(int slot) = 0;
    virtual void SendFormat(int format, int slot) = 0;
    virtual void SendMode(int mode, int slot) = 0;
    virtual void SendData(const QByteArray& data, int slot) = 0;

    std::function<void(int state)> onRelayStateChanged;
    std::function<void(int slot, int state)> onSlotStateChanged;
    std::function<void(int slot, const QByteArray& data)> onDataReceived;
};

class CaptureDevice {
public:
    virtual ~CaptureDevice() = default;
    bool OptionA = false, OptionB = false, OptionC = false;
    int CaptureMode = 0;
    virtual void InitCapture() = 0;
    // 0 when the camera runs; anything else: no camera, or it is in use.
    virtual int StartCapture() = 0;
    virtual void StopCapture() = 0;
    virtual void CloseCapture() = 0;
    virtual int StreamFormat() const = 0;
    std::function<void(const QByteArray& frame)> onFrameCaptured;
};

}  // namespace sorvik
