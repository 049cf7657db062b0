#pragma once
// Video between the seated players: one relay slot per other player, the local camera over
// the local portrait with every frame sent on (paced per connection), and each received
// frame drawn in its sender's panel on the table.

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "game/core/TableState.h"
#include "platform/EventLoop.h"
#include "table/Controls.h"
#include "video/core/VideoComponent.h"

namespace sorvik {

class MainForm;

class PeerVideo {
public:
    PeerVideo(TableState& state, PeerTransport& peers, CaptureDevice& capture, EventLoop& loop,
              const LayoutScale& scale);
    // The table window whose controls show the video; messages go to its message lines.
    void Attach(MainForm* form, std::function<void(const QString&)> addMessageLine);

    // Connections.
    void StartPeerVideo(const QString& relayHost, const QString& account);
    void StopPeerVideo();
    void RelayStateChanged(int state);
    void SlotStateChanged(int slot, int state);
    void ConnectPlayer(int position);
    void DropPlayer(const QString& account);
    void DropAllPlayers();
    int ChooseSlot(const QString& account, int first, int last, int start, bool stopAtMatch) const;

    // Capture and display.
    void StartLocalCapture();
    void FrameCaptured(const QByteArray& data);
    void DataReceived(int slot, const QByteArray& data);
    void VshowTick(int position);
    void ClearPositionVideo(int position);

    static constexpr int kRelayPort = 8888;

    bool CaptureOn = false;
    bool RelayLoggedIn = false;
    bool RelayCatchUpDone = false;
    QByteArray LastCapturedFrame;
    std::array<uint16_t, 3> SendCount{};
    std::array<QByteArray, 4> FrameBuffer{};     // by position; 1..3 used
    std::array<bool, 4> FirstFrameShown{};
    std::array<bool, 4> VideoClosed{};

private:
    void Request(int slot, const QString& account);
    TableState& state_;
    PeerTransport& peers_;
    CaptureDevice& capture_;
    EventLoop& loop_;
    const LayoutScale& scale_;
    MainForm* form_ = nullptr;
    std::function<void(const QString&)> addMessageLine_;
    std::array<std::unique_ptr<Timer>, 4> timerVshow_{};  // Timer_Vshow1..3, one shot of 30 ms
};

}  // namespace sorvik
