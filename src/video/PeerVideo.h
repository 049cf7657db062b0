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
#include "video/VideoWindow.h"
#include "video/core/VideoComponent.h"

namespace sorvik {

class MainForm;
class Desktop;

// A snapshot's file name: year, month, day, hour, minute and second run together, ".bmp".
QString SnapshotFileName(const class QDateTime& t);

class PeerVideo {
public:
    PeerVideo(TableState& state, PeerTransport& peers, CaptureDevice& capture, EventLoop& loop,
              const LayoutScale& scale);
    ~PeerVideo();
    // The table window whose controls show the video; messages go to its message lines, the
    // album opens through the desktop, the music tool starts the music player.
    void Attach(MainForm* form, const PictureSource* pictures, Desktop* desktop,
                std::function<void(const QString&)> addMessageLine, std::function<void()> launchMusic);

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

    // The tools: icons 0..3 of the local video (album, enlarged view, snapshot, music), then
    // four per remote position (close, enlarged view, snapshot, and one that only lights up).
    void OnToolClick(int icon);
    void OnToolHover(int icon);
    void OnStripHover();
    void ShowVideoAgain(int position);
    void CloseVideo(int position);
    void OpenAlbum();
    void Snapshot(const QByteArray& frame);
    QString PhotoFolder() const;
    // The enlarged windows: position 0 frm_Local, 1..3 frm_Remote1..3.
    void ToggleVideoWindow(int position);
    void CloseVideoWindow(int position);
    void ResizeVideoWindow(int position, bool larger);
    void ZoomTick();
    VideoWindow* Window(int position) const;
    bool WindowOpen(int position) const;
    int ZoomedVideo = 0;
    std::array<bool, 16> ImCmdHover{};

    static constexpr int kRelayPort = 8888;
    static constexpr double kMinDrawGap = 0.04;  // seconds between two drawn frames of a peer

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
    void PlaceWindow(int position, const double (&at)[4][2]);
    const PictureSource* pictures_ = nullptr;
    Desktop* desktop_ = nullptr;
    std::function<void()> launchMusic_;
    std::array<std::unique_ptr<VideoWindow>, 4> windows_{};
    std::unique_ptr<Timer> timerZoom_;  // Timer_Zoom: one shot of 100 ms
    std::array<double, 4> lastDrawn_{};
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
