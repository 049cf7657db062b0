#pragma once
// The camera through Qt Multimedia: the first video input, frames scaled to 160 × 120 and
// handed on as bitmap files, about five a second.

#include <QElapsedTimer>
#include <QImage>
#include <memory>

#include "video/core/VideoComponent.h"

class QCamera;
class QMediaCaptureSession;
class QVideoSink;
class QVideoFrame;

namespace sorvik {

class QtCameraCapture final : public CaptureDevice {
public:
    QtCameraCapture();
    ~QtCameraCapture() override;
    void InitCapture() override;
    int StartCapture() override;
    void StopCapture() override;
    void CloseCapture() override;
    int StreamFormat() const override { return 1; }  // 160 × 120, 24-bit bitmaps

    static constexpr int kWidth = 160, kHeight = 120;
    static constexpr int kFrameGapMs = 200;
    static constexpr int kStartWaitMs = 3000;

private:
    void OnFrame(const QVideoFrame& frame);
    std::unique_ptr<QCamera> camera_;
    std::unique_ptr<QMediaCaptureSession> session_;
    std::unique_ptr<QVideoSink> sink_;
    QElapsedTimer sinceLast_;
};

// A picture as the bitmap file a frame is.
QByteArray BitmapFrame(const QImage& image);

}  // namespace sorvik
