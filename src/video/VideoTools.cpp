// The tools beside the table's video: the enlarged windows, snapshots into the photo
// album, closing and showing a player's video again.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QUrl>

#include "platform/Desktop.h"
#include "table/MainForm.h"
#include "video/PeerVideo.h"
#include "video/VideoDisplay.h"
#include "video/VideoWindow.h"

namespace sorvik {

namespace {

// Where each window opens, and where it goes after a change of size (normal or small):
// the main window's centre moved by these fractions of its height and width.
constexpr double kOpenAt[4][2] = {{0.2, -0.2}, {-0.2, -0.25}, {-0.2, 0}, {-0.2, 0.25}};
constexpr double kResizedAt[4][2] = {{0.2, -0.2}, {-0.2, -0.2}, {-0.2, 0.2}, {-0.2, -0.2}};

}  // namespace

QString PeerVideo::PhotoFolder() const {
    return desktop_ ? desktop_->ProgramFolder() + QStringLiteral("/photo") : QString();
}

QString SnapshotFileName(const QDateTime& t) {
    const QDate d = t.date();
    const QTime c = t.time();
    return QStringLiteral("%1%2%3%4%5%6.bmp")
        .arg(d.year()).arg(d.month()).arg(d.day()).arg(c.hour()).arg(c.minute()).arg(c.second());
}

VideoWindow* PeerVideo::Window(int p) const { return p >= 0 && p <= 3 ? windows_[p].get() : nullptr; }

bool PeerVideo::WindowOpen(int p) const {
    const VideoWindow* w = Window(p);
    return w && w->isVisible();
}

void PeerVideo::PlaceWindow(int p, const double (&at)[4][2]) {
    VideoWindow& w = *windows_[p];
    const QRect main = form_->geometry();
    w.move(main.left() + (main.width() - w.width()) / 2 + static_cast<int>(at[p][1] * main.width()),
           main.top() + (main.height() - w.height()) / 2 + static_cast<int>(at[p][0] * main.height()));
}

void PeerVideo::ToggleVideoWindow(int p) {
    if (!form_ || p < 0 || p > 3) return;
    if (WindowOpen(p)) {  // open: closing unloads it
        CloseVideoWindow(p);
        return;
    }
    CloseVideoWindow(p);  // one hidden by closing the video: a fresh one opens
    windows_[p] = std::make_unique<VideoWindow>(pictures_, scale_, form_);
    VideoWindow* w = windows_[p].get();
    QObject::connect(w->ImgCmd[0], &PictureBox::clicked, w, [this, p] { CloseVideoWindow(p); });
    QObject::connect(w->ImgCmd[1], &PictureBox::clicked, w, [this, p] { ResizeVideoWindow(p, true); });
    QObject::connect(w->ImgCmd[2], &PictureBox::clicked, w, [this, p] { ResizeVideoWindow(p, false); });
    w->show();
    w->raise();
    PlaceWindow(p, kOpenAt);
    ZoomedVideo = p;
    timerZoom_->Start();
}

void PeerVideo::CloseVideoWindow(int p) {
    if (!windows_[p]) return;
    windows_[p]->hide();
    windows_[p].release()->deleteLater();  // it may be inside its own click
}

void PeerVideo::ResizeVideoWindow(int p, bool larger) {
    VideoWindow* w = Window(p);
    if (!w) return;
    const VideoWindow::Size now = w->CurrentSize();
    if ((larger && now == VideoWindow::kLarge) || (!larger && now == VideoWindow::kSmall)) return;
    const auto next = static_cast<VideoWindow::Size>(now + (larger ? 1 : -1));
    w->ApplySize(next, false);
    ZoomedVideo = p;
    timerZoom_->Start();
    if (next != VideoWindow::kLarge) {
        PlaceWindow(p, kResizedAt);
        return;
    }
    const QRect main = form_->geometry();
    const int left = main.left() + static_cast<int>(0.05 * main.width());
    if (p == 0)
        w->move(left, static_cast<int>(0.93 * main.height()) - w->height());
    else if (p == 2)
        w->move(main.width() - w->width() - static_cast<int>(0.05 * main.width()),
                main.top() + static_cast<int>(0.07 * main.height()));
    else
        w->move(left, main.top() + static_cast<int>(0.07 * main.height()));
}

void PeerVideo::ZoomTick() {
    timerZoom_->Stop();
    VideoWindow* w = Window(ZoomedVideo);
    if (!w) return;
    w->Display->ShowFrame(ZoomedVideo == 0 ? LastCapturedFrame : FrameBuffer[ZoomedVideo]);
}

// ---- The tool icons ----

void PeerVideo::OnToolClick(int i) {
    if (i < 0 || i > 15 || !form_) return;
    if (i <= 3) {
        switch (i) {
            case 0: OpenAlbum(); return;
            case 1: ToggleVideoWindow(0); return;
            case 2: Snapshot(LastCapturedFrame); return;
            case 3: if (launchMusic_) launchMusic_(); return;
        }
    }
    const int p = i / 4;  // 4..7 remote 1, 8..11 remote 2, 12..15 remote 3
    switch (i % 4) {
        case 0: CloseVideo(p); return;
        case 1: ToggleVideoWindow(p); return;
        case 2: Snapshot(FrameBuffer[p]); return;
        default: return;  // hover picture only
    }
}

void PeerVideo::OnToolHover(int i) {
    if (i < 0 || i > 15 || !form_ || ImCmdHover[i]) return;
    ImCmdHover[i] = true;
    PictureBox* icon = form_->ImCmd[i];
    icon->SetPicture(VideoToolPicture(i, true));
    if (i > 3) return;
    static const char* const kTips[4] = {"像册", "放大", "拍照", "星河乐匣"};
    TextLabel* tip = form_->Tiplbl;
    tip->SetCaption(QString::fromUtf8(kTips[i]));
    const PictureBox* strip = form_->PicLocal[0];
    tip->resize(static_cast<int>((i == 3 ? 54 : 28) * scale_.ScaleX), static_cast<int>(16 * scale_.ScaleY));
    tip->move(strip->x() + icon->x() + icon->width(), strip->y() + static_cast<int>(10 * scale_.ScaleY));
    tip->show();
    tip->raise();
}

void PeerVideo::OnStripHover() {
    if (!form_) return;
    form_->Tiplbl->hide();
    for (int i = 0; i < 16; ++i) {
        if (!ImCmdHover[i]) continue;
        ImCmdHover[i] = false;
        form_->ImCmd[i]->SetPicture(VideoToolPicture(i, false));
    }
}

void PeerVideo::OpenAlbum() {
    const QString folder = PhotoFolder();
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    desktop_->OpenUrl(QUrl::fromLocalFile(folder).toString());
}

void PeerVideo::Snapshot(const QByteArray& frame) {
    const QString folder = PhotoFolder();
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + SnapshotFileName(QDateTime::currentDateTime()));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(frame);
    if (addMessageLine_) addMessageLine_(QStringLiteral("照相成功,照片保存在本机相册中。"));
}

void PeerVideo::CloseVideo(int p) {
    if (VideoClosed[p]) return;
    VideoClosed[p] = true;
    form_->PicLocal[p]->hide();
    VideoDisplay* show = form_->vshow[p];
    show->setVisible(!show->isVisibleTo(form_->Pic1));
    if (WindowOpen(p)) windows_[p]->hide();
    form_->ImgShow[p]->show();
    form_->ImgShow[p]->raise();
}

void PeerVideo::ShowVideoAgain(int p) {
    if (p < 1 || p > 3 || !form_) return;
    VideoClosed[p] = false;
    form_->PicLocal[p]->show();
    form_->vshow[p]->show();
    form_->vshow[p]->raise();
    form_->ImgShow[p]->hide();  // its work is done until the video is closed again
    timerVshow_[p]->Start();
}

}  // namespace sorvik
