#include "sound/QtSoundDevice.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QUrl>

namespace sorvik {

QtSoundDevice::QtSoundDevice() = default;

QtSoundDevice::~QtSoundDevice() { qDeleteAll(effects_); }

bool QtSoundDevice::Init() {
    available_ = !QMediaDevices::defaultAudioOutput().isNull();
    return available_;
}

bool QtSoundDevice::Play(const QString& path, bool looping) {
    if (current_) current_->stop();
    current_ = nullptr;
    if (!available_ || !QFileInfo(path).isFile()) return false;
    QSoundEffect*& effect = effects_[path];
    if (!effect) {
        effect = new QSoundEffect;
        effect->setSource(QUrl::fromLocalFile(path));
    }
    if (effect->status() == QSoundEffect::Error) return false;
    effect->setLoopCount(looping ? QSoundEffect::Infinite : 1);
    effect->setVolume(1.0);
    effect->play();  // a sound still loading starts once loaded
    current_ = effect;
    return true;
}

bool QtSoundDevice::Stop() {
    if (current_) current_->stop();
    return true;
}

bool QtSoundDevice::SetVolume(int hundredthsOfDecibel) {
    if (!current_) return true;
    const qreal linear = QAudio::convertVolume(hundredthsOfDecibel / 100.0,
                                               QAudio::DecibelVolumeScale,
                                               QAudio::LinearVolumeScale);
    current_->setVolume(static_cast<float>(linear));
    return true;
}

}  // namespace sorvik
