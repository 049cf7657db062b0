#include "video/PeerVideo.h"

#include "table/MainForm.h"
#include "video/VideoDisplay.h"
#include "video/VideoWindow.h"

namespace sorvik {

PeerVideo::PeerVideo(TableState& state, PeerTransport& peers, CaptureDevice& capture, EventLoop& loop,
                     const LayoutScale& scale)
    : state_(state), peers_(peers), capture_(capture), loop_(loop), scale_(scale) {
    for (int p = 1; p <= 3; ++p) timerVshow_[p] = loop_.CreateTimer(30, [this, p] { VshowTick(p); });
    timerZoom_ = loop_.CreateTimer(100, [this] { ZoomTick(); });
    peers_.onRelayStateChanged = [this](int s) { RelayStateChanged(s); };
    peers_.onSlotStateChanged = [this](int slot, int s) { SlotStateChanged(slot, s); };
    peers_.onDataReceived = [this](int slot, const QByteArray& d) { DataReceived(slot, d); };
    capture_.onFrameCaptured = [this](const QByteArray& d) { FrameCaptured(d); };
}

PeerVideo::~PeerVideo() = default;

void PeerVideo::Attach(MainForm* form, const PictureSource* pictures, Desktop* desktop,
                       std::function<void(const QString&)> addMessageLine, std::function<void()> launchMusic) {
    form_ = form;
    pictures_ = pictures;
    desktop_ = desktop;
    addMessageLine_ = std::move(addMessageLine);
    launchMusic_ = std::move(launchMusic);
    for (int i = 0; i < 16; ++i) {
        QObject::connect(form_->ImCmd[i], &PictureBox::clicked, form_, [this, i] { OnToolClick(i); });
        QObject::connect(form_->ImCmd[i], &PictureBox::mouseMoved, form_, [this, i] { OnToolHover(i); });
    }
    for (int p = 0; p < 4; ++p)
        QObject::connect(form_->PicLocal[p], &PictureBox::mouseMoved, form_, [this] { OnStripHover(); });
    for (int p = 1; p <= 3; ++p)
        QObject::connect(form_->ImgShow[p], &PictureBox::clicked, form_, [this, p] { ShowVideoAgain(p); });
}

// ---- Connections ----

void PeerVideo::StartPeerVideo(const QString& relayHost, const QString& account) {
    RelayLoggedIn = false;
    peers_.RelayHost = relayHost;
    peers_.RelayPort = kRelayPort;
    peers_.SetSlotCount(3);
    peers_.Login(account);
}

void PeerVideo::StopPeerVideo() {
    peers_.Logout();
    RelayCatchUpDone = false;
    if (CaptureOn) {
        capture_.StopCapture();
        capture_.CloseCapture();
    }
}

int PeerVideo::ChooseSlot(const QString& a, int first, int last, int start, bool stopAtMatch) const {
    int s = start;
    for (int i = first; i <= last; ++i) {
        if (peers_.SlotUser(i) == a) {
            s = i;
            if (stopAtMatch) break;
        } else if (peers_.SlotUser(s) != a && peers_.SlotState(i) < 1) {
            s = i;
        }
    }
    return s;
}

void PeerVideo::Request(int slot, const QString& account) {
    if (peers_.SlotState(slot) < 10 && peers_.SlotCount() >= slot) peers_.RequestVideo(slot, account);
}

void PeerVideo::RelayStateChanged(int s) {
    if (s != 2) {
        RelayLoggedIn = false;
        return;
    }
    if (!RelayLoggedIn && !RelayCatchUpDone) {
        RelayCatchUpDone = true;
        for (int d = 1; d <= 3; ++d) {
            const QString& a = state_.Seats[d].AccountName;
            if (!a.isEmpty()) Request(ChooseSlot(a, 1, peers_.SlotCount(), 1, false), a);
        }
    }
    RelayLoggedIn = true;
}

void PeerVideo::ConnectPlayer(int p) {
    if (!RelayCatchUpDone || p < 1 || p > 3) return;
    const QString& a = state_.Seats[p].AccountName;
    Request(ChooseSlot(a, 1, 3, p, true), a);
}

void PeerVideo::SlotStateChanged(int slot, int s) {
    if (s != 14 && s != 15) return;
    peers_.SendFormat(capture_.StreamFormat(), slot);
    peers_.SendMode(capture_.CaptureMode, slot);
    peers_.SendData(LastCapturedFrame, slot);
}

void PeerVideo::DropPlayer(const QString& account) {
    if (account.isEmpty()) return;
    for (int i = 1; i <= 3; ++i)
        if (peers_.SlotUser(i) == account) peers_.CloseSlot(i);
}

void PeerVideo::DropAllPlayers() {
    for (int p = 1; p <= 3; ++p) {
        FirstFrameShown[p] = false;
        VideoClosed[p] = false;
        SendCount[p - 1] = 0;
        if (form_) {  // the panel frame stays: on this table it frames the portrait too
            form_->PicLocal[p]->hide();
            form_->ImgShow[p]->hide();
            form_->vshow[p]->hide();
        }
        peers_.CloseSlot(p);
        state_.Seats[p].AccountName.clear();
        CloseVideoWindow(p);
    }
    FrameBuffer.fill(QByteArray());
}

// ---- Capture and display ----

void PeerVideo::StartLocalCapture() {
    capture_.InitCapture();
    if (form_) {
        const PictureBox* tou = form_->Tou[0];
        form_->vcap1->setGeometry(static_cast<int>(tou->x()), static_cast<int>(tou->y() - 4 * scale_.ScaleY),
                                  tou->width(), static_cast<int>(tou->height() - 7 * scale_.ScaleX));
    }
    capture_.OptionA = true;
    capture_.OptionB = true;
    capture_.CaptureMode = 2;
    capture_.OptionC = false;
    if (form_) form_->vcap1->hide();
    CaptureOn = capture_.StartCapture() == 0;
    if (CaptureOn && form_) {
        form_->PicLocal[0]->show();
        form_->vcap1->show();
        form_->vcap1->raise();
    }
    if (!CaptureOn && addMessageLine_) addMessageLine_(QStringLiteral("您没有视频设备或您的视频源正在使用。"));
}

void PeerVideo::FrameCaptured(const QByteArray& data) {
    LastCapturedFrame = data;
    if (form_ && form_->vcap1->isVisible()) form_->vcap1->ShowFrame(data);  // the local preview
    for (int i = 1; i <= peers_.SlotCount() && i <= 3; ++i) {
        const int st = peers_.SlotState(i);
        uint16_t& c = SendCount[i - 1];
        if (st == 15) {
            peers_.SendData(data, i);
        } else if (st >= 10 && st <= 14) {
            // A limited connection gets its first three frames, then one in every 21.
            if (c <= 2) {
                peers_.SendData(data, i);
                ++c;
            } else if (c <= 22) {
                ++c;
            } else {
                c = 3;
                peers_.SendData(data, i);
            }
        }
    }
    if (WindowOpen(0)) {
        windows_[0]->Display->show();
        windows_[0]->Display->raise();
        windows_[0]->Display->ShowFrame(data);
    }
}

void PeerVideo::DataReceived(int slot, const QByteArray& data) {
    const QString a = peers_.SlotUser(slot);
    int p = 0;
    for (int d = 1; d <= 3 && p == 0; ++d)
        if (!a.isEmpty() && state_.Seats[d].AccountName == a) p = d;
    if (p == 0) return;
    const bool streaming = peers_.SlotState(slot) > 9 && !VideoClosed[p];
    if (p != 1 || streaming) FrameBuffer[p] = data;
    if (!streaming || !form_) return;
    // A peer sending faster than the table can sensibly draw gets its frames kept, not drawn.
    const double now = loop_.Now();
    if (FirstFrameShown[p] && now - lastDrawn_[p] < kMinDrawGap) return;
    lastDrawn_[p] = now;
    VideoDisplay* show = form_->vshow[p];
    if (!show->isVisibleTo(form_->Pic1) && !FirstFrameShown[p]) {
        form_->ImgKuang[p]->show();
        form_->PicLocal[p]->show();
        timerVshow_[p]->Start();
        show->show();
        show->raise();
        show->ShowFrame(FrameBuffer[p]);
        FirstFrameShown[p] = true;
    } else {
        show->ShowFrame(data);
    }
    if (WindowOpen(p)) {
        windows_[p]->Display->show();
        windows_[p]->Display->raise();
        windows_[p]->Display->ShowFrame(data);
    }
}

void PeerVideo::VshowTick(int p) {
    timerVshow_[p]->Stop();
    if (!form_ || !form_->PicLocal[p]->isVisibleTo(form_->Pic1)) return;
    for (int i = 0; i < 3; ++i) form_->vshow[p]->ShowFrame(FrameBuffer[p]);
}

void PeerVideo::ClearPositionVideo(int p) {
    if (p < 1 || p > 3) return;
    if (form_) {  // the panel frame stays, as when the table is left
        form_->vshow[p]->hide();
        form_->PicLocal[p]->hide();
        form_->ImgShow[p]->hide();
    }
    FirstFrameShown[p] = false;
    VideoClosed[p] = false;
    SendCount[p - 1] = 0;
    if (WindowOpen(p)) windows_[p]->hide();
    FrameBuffer[p].clear();
}

}  // namespace sorvik
