#include "video/VideoWindow.h"

#include <QMouseEvent>
#include <QWindow>

#include "video/VideoDisplay.h"

namespace sorvik {
namespace {

// Window, display size and display place in twips (15 to a pixel at scale 1).
struct Geometry {
    double w, h, dw, dh, dl, dt;
};
constexpr Geometry kSizes[3] = {{2625, 2070, 2400, 1800, 110, 230},
                                {4140, 3225, 3840, 2880, 150, 240},
                                {6510, 5115, 6000, 4500, 240, 480}};
constexpr double kIconW = 225, kIconH = 240;
constexpr int kTitlePictures = 860;  // close, larger, smaller
constexpr int kFramePictures = 870;  // small, normal, large; + 3 for the compact set

}  // namespace

VideoWindow::VideoWindow(const PictureSource* pictures, const LayoutScale& scale, QWidget* owner)
    : pictures_(pictures), scale_(scale) {
    setParent(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    pictureOffset_ = scale_.ScaleX < 1 ? 3 : 0;
    background_ = new QLabel(this);
    background_->setScaledContents(true);
    Display = new VideoDisplay(this);
    Display->ShowOptionA = true;
    Display->ShowOptionB = true;
    static const LayoutScale kUnscaled{};
    for (int i = 0; i < 3; ++i) {
        ImgCmd[i] = new PictureBox(this, pictures_, &kUnscaled);
        ImgCmd[i]->SetPicture(kTitlePictures + i);
        ImgCmd[i]->setScaledContents(true);
        ImgCmd[i]->SetFallbackText(i == 0 ? QStringLiteral("×") : i == 1 ? QStringLiteral("+") : QStringLiteral("-"));
    }
    ApplySize(kNormal, true);
}

int VideoWindow::X(double twips) const { return static_cast<int>(twips / 15.0 * scale_.ScaleX + 0.5); }
int VideoWindow::Y(double twips) const { return static_cast<int>(twips / 15.0 * scale_.ScaleY + 0.5); }

void VideoWindow::ApplySize(Size size, bool atLoad) {
    size_ = size;
    const Geometry& g = kSizes[size];
    setFixedSize(X(g.w), Y(g.h));
    background_->setGeometry(rect());
    if (pictures_) background_->setPixmap(pictures_->Picture(kFramePictures + pictureOffset_ + size));
    Display->setGeometry(X(g.dl), Y(g.dt), X(g.dw), Y(g.dh));
    // The title icons: their sizes follow the window's; their places as each size has them.
    const double k = size == kLarge ? 1.5 : size == kSmall ? 2.0 / 3.0 : 1.0;
    const double w = kIconW * k, h = kIconH * k;
    if (atLoad) {
        for (int i = 0; i < 3; ++i) icons_[i] = {g.w - g.dl - (i + 1) * w - i * w / 2, 0, w, h};
    } else if (size == kNormal) {
        const double lefts[3] = {3750, 3380, 3000};
        for (int i = 0; i < 3; ++i) icons_[i] = {lefts[i], 0, w, h};
    } else {
        const double right = size == kLarge ? 150 : 80, top = size == kLarge ? 80 : 30;
        double left = g.w - w - right;
        for (int i = 0; i < 3; ++i) {
            if (i > 0) left -= w + 60;
            icons_[i] = {left, top, w, h};
        }
    }
    for (int i = 0; i < 3; ++i) {
        ImgCmd[i]->setGeometry(X(icons_[i].left()), Y(icons_[i].top()), X(icons_[i].width()), Y(icons_[i].height()));
        ImgCmd[i]->raise();
    }
}

void VideoWindow::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    // A press on a title icon is the icon's click, not a drag: the system move would take
    // the pointer and the icon would never see its release.
    QWidget* under = childAt(e->position().toPoint());
    for (PictureBox* icon : ImgCmd)
        if (under == icon) return;
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    dragging_ = true;  // no system move (offscreen, a bare X server): follow the pointer
    dragOffset_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
}

void VideoWindow::mouseMoveEvent(QMouseEvent* e) {
    if (dragging_ && (e->buttons() & Qt::LeftButton)) move(e->globalPosition().toPoint() - dragOffset_);
}

void VideoWindow::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

}  // namespace sorvik
