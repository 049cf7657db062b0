#include "video/VideoDisplay.h"

#include <QImageReader>
#include <QBuffer>
#include <QPainter>

namespace sorvik {

VideoDisplay::VideoDisplay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

bool VideoDisplay::ShowFrame(const QByteArray& data) {
    if (!picture_.isNull() && (data.isSharedWith(shown_) || data == shown_)) {
        ++framesShown_;  // the picture on show: drawn again without decoding it again
        update();
        return true;
    }
    if (data.size() < 26 || data.size() > kMaxFrameBytes || !data.startsWith("BM")) return false;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    const QSize size = reader.size();  // from the header, before any pixel is decoded
    if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide) return false;
    QImage image;
    if (!reader.read(&image) || image.isNull()) return false;
    picture_ = std::move(image);
    shown_ = data;
    ++framesShown_;
    update();
    return true;
}

void VideoDisplay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (picture_.isNull())
        p.fillRect(rect(), Qt::black);
    else
        p.drawImage(rect(), picture_);
}

void VideoDisplay::mouseMoveEvent(QMouseEvent*) { emit mouseMoved(); }

}  // namespace sorvik
