#include "video/QtCameraCapture.h"

#include <QBuffer>
#include <QCamera>
#include <QEventLoop>
#include <QTimer>
#include <QImage>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoFrame>
#include <QVideoSink>

namespace sorvik {

QByteArray BitmapFrame(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    return bytes;
}

QtCameraCapture::QtCameraCapture() = default;
QtCameraCapture::~QtCameraCapture() { CloseCapture(); }

void QtCameraCapture::InitCapture() {}

int QtCameraCapture::StartCapture() {
    if (camera_) return camera_->isActive() ? 0 : 1;
    const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
    if (inputs.isEmpty()) return 1;
    camera_ = std::make_unique<QCamera>(inputs.front());
    session_ = std::make_unique<QMediaCaptureSession>();
    sink_ = std::make_unique<QVideoSink>();
    session_->setCamera(camera_.get());
    session_->setVideoSink(sink_.get());
    QObject::connect(sink_.get(), &QVideoSink::videoFrameChanged, sink_.get(),
                     [this](const QVideoFrame& f) { OnFrame(f); });
    // The camera starts in the background: wait (events running) until it runs or fails, so
    // a camera in use is reported as such.
    QEventLoop wait;
    QTimer::singleShot(kStartWaitMs, &wait, &QEventLoop::quit);
    QObject::connect(camera_.get(), &QCamera::activeChanged, &wait, &QEventLoop::quit);
    QObject::connect(camera_.get(), &QCamera::errorOccurred, &wait, &QEventLoop::quit);
    camera_->start();
    if (!camera_->isActive() && camera_->error() == QCamera::NoError) wait.exec();
    if (!camera_->isActive() || camera_->error() != QCamera::NoError) {
        CloseCapture();  // the next try starts afresh
        return 1;
    }
    sinceLast_.start();
    return 0;
}

void QtCameraCapture::OnFrame(const QVideoFrame& frame) {
    if (sinceLast_.isValid() && sinceLast_.elapsed() < kFrameGapMs) return;
    sinceLast_.restart();
    const QImage image = frame.toImage();
    if (image.isNull() || !onFrameCaptured) return;
    onFrameCaptured(BitmapFrame(image.scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void QtCameraCapture::StopCapture() {
    if (camera_) camera_->stop();
}

void QtCameraCapture::CloseCapture() {
    if (session_) {
        session_->setCamera(nullptr);
        session_->setVideoSink(nullptr);
    }
    sink_.reset();
    session_.reset();
    camera_.reset();
}

}  // namespace sorvik
