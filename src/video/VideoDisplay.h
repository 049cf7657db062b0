#pragma once
// A video display (vshow): draws one frame at a time, scaled to the control. A frame is a
// complete bitmap file; anything else leaves the last good picture in place.

#include <QImage>
#include <QWidget>

namespace sorvik {

class VideoDisplay : public QWidget {
    Q_OBJECT
public:
    explicit VideoDisplay(QWidget* parent);
    bool ShowOptionA = false, ShowOptionB = false;
    // Draws a frame; false when it is not a bitmap this display can show.
    bool ShowFrame(const QByteArray& data);
    const QImage& Picture() const { return picture_; }
    int FramesShown() const { return framesShown_; }

    static constexpr int kMaxFrameBytes = 1 << 20;
    static constexpr int kMaxSide = 1024;  // pixels

signals:
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QImage picture_;
    QByteArray shown_;  // the bytes of the picture on show
    int framesShown_ = 0;
};

}  // namespace sorvik
